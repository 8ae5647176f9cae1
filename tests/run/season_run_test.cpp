// Runs with a season: no delivery knows demand that came after its decision, indices included,
// and the results are in the demand's own units, closed positions at 0.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "history/history_reader.h"
#include "results/run_results.h"
#include "run/season_suggestion.h"
#include "run_fixture.h"

namespace sf {
namespace {

constexpr int kSalesPoints = 3;
constexpr int kPeriods = 70;
constexpr int kSeason = 7;

// A weekly pattern, the last day closed, around levels that drift; demand[sp][t - 1].
std::vector<std::vector<double>> WeeklyDemand() {
    const double pattern[kSeason] = {1.0, 0.8, 0.9, 1.1, 1.5, 2.0, 0.0};
    std::vector<std::vector<double>> demand(kSalesPoints);
    for (int sp = 0; sp < kSalesPoints; ++sp) {
        for (int t = 1; t <= kPeriods; ++t) {
            const double level = 10.0 * (sp + 1) + 3.0 * std::sin(t * 0.37 + sp);
            const double day = pattern[(t - 1) % kSeason];
            demand[sp].push_back(day == 0.0 ? 0.0 : std::round(level * day + (t * 7 + sp) % 5));
        }
    }
    return demand;
}

SalesHistory HistoryOf(const std::vector<std::vector<double>>& demand) {
    std::string text;
    for (int t = 1; t <= kPeriods; ++t) {
        for (int sp = 0; sp < kSalesPoints; ++sp) {
            text += (sp == 0 ? "" : ",") + std::to_string(demand[sp][t - 1]);
        }
        text += '\n';
    }
    SalesHistory history = ParseSalesHistory(text);
    history.name = "weekly.csv";
    return history;
}

class SeasonRun : public RunFixture {
  protected:
    RunResults RunWith(const std::vector<std::vector<double>>& demand, int horizon) {
        RunInputs inputs = SmallRun();
        inputs.history = HistoryOf(demand);
        inputs.periodsforinitialization = "21";
        inputs.periodsforalphabeta = "7";
        inputs.horizontx = std::to_string(horizon);
        RunOptions options;
        options.season = kSeason;
        EXPECT_TRUE(ExecuteRun(*state, source, inputs, NumberLocale{}, folder.Path("out.txt"),
                               observer, options)
                        .completed);
        return ComputeResults(*state, {});
    }
};

// Changing the demand of period t changes no delivery, forecast or sigma decided before t, and
// from t > S on no season index; the coming periods are all decided at P, after every t here.
TEST_F(SeasonRun, NoDeliveryKnowsDemandAfterItsDecision) {
    const std::vector<std::vector<double>> demand = WeeklyDemand();
    for (const int horizon : {0, 1, 3}) {
        const RunResults base = RunWith(demand, horizon);
        for (const int t : {5, 22, 23, 40, 55, kPeriods}) {
            SCOPED_TRACE("H = " + std::to_string(horizon) + ", demand of period " +
                         std::to_string(t) + " changed");
            std::vector<std::vector<double>> changed = demand;
            for (std::vector<double>& row : changed) {
                row[static_cast<std::size_t>(t - 1)] += 17.0;
            }
            const RunResults other = RunWith(changed, horizon);
            if (t > 21) {
                EXPECT_EQ(other.series.season.indices, base.series.season.indices);
            }
            int compared = 0;
            for (std::size_t at = 0; at < base.series.salesPoints.size(); ++at) {
                const SalesPointSeries& before = base.series.salesPoints[at];
                const SalesPointSeries& after = other.series.salesPoints[at];
                for (std::size_t k = 0; k < before.decidedAt.values.size(); ++k) {
                    if (before.decidedAt.values[k] >= t) {
                        continue;
                    }
                    ++compared;
                    EXPECT_EQ(after.asForecast.forecast.values[k],
                              before.asForecast.forecast.values[k]);
                    EXPECT_EQ(after.asForecast.sigma.values[k], before.asForecast.sigma.values[k]);
                    EXPECT_EQ(after.asForecast.delivery.values[k],
                              before.asForecast.delivery.values[k]);
                }
            }
            EXPECT_EQ(compared > 0, t > 29) << "periods decided before t";
        }
    }
}

// Every figure is the adjusted one multiplied by its period's index; a closed position's
// forecast, sigma and delivery are 0 in both evaluations and in the coming periods, and the
// demand is the demand as given.
TEST_F(SeasonRun, ResultsInTheDemandsOwnUnitsWithClosedPositionsAtZero) {
    const std::vector<std::vector<double>> demand = WeeklyDemand();
    const RunResults results = RunWith(demand, 1);
    const RunSeries& series = results.series;
    ASSERT_EQ(series.season.length, kSeason);
    for (int sp = 1; sp <= kSalesPoints; ++sp) {
        SCOPED_TRACE("sales point " + std::to_string(sp));
        const SalesPointSeries& point = series.salesPoints[static_cast<std::size_t>(sp - 1)];
        EXPECT_EQ(series.season.indices[static_cast<std::size_t>(sp - 1)][kSeason - 1], 0.0);
        EXPECT_EQ(point.demand.values, demand[static_cast<std::size_t>(sp - 1)]);
        for (const EvaluatedSeries* evaluated : {&point.asReported, &point.asForecast}) {
            for (std::size_t k = 0; k < evaluated->forecast.values.size(); ++k) {
                const int t = evaluated->forecast.first + static_cast<int>(k);
                if (t % kSeason == 0) {
                    EXPECT_EQ(evaluated->forecast.values[k], 0.0) << "period " << t;
                    EXPECT_EQ(evaluated->sigma.values[k], 0.0) << "period " << t;
                    EXPECT_EQ(evaluated->delivery.values[k], 0.0) << "period " << t;
                }
            }
        }
        const int t = series.rollingStretch.first;
        const std::size_t first = 0;
        EXPECT_EQ(point.asForecast.forecast.values[first],
                  state->forecastAsForecast(sp, t) * state->season.Index(sp, t));
        for (std::size_t k = 0; k < point.coming.forecast.values.size(); ++k) {
            const int coming = point.coming.forecast.first + static_cast<int>(k);
            EXPECT_EQ(point.coming.forecast.values[k],
                      state->season.Index(sp, coming) == 0.0
                          ? 0.0
                          : state->comingForecast(sp, coming - kPeriods) *
                                state->season.Index(sp, coming));
        }
    }
}

// A dated history suggests the season its step names when most sales points show it.
TEST(SeasonSuggestion, TheDatesStepNamesTheSeasonTheDemandMustShow) {
    struct Case {
        const char* what;
        std::vector<std::string> dates;
        bool weekly;  // the demand repeats every 7 periods; else it is steady
        int suggested;
    };
    const auto dates = [](const char* first, const char* second, int count) {
        std::vector<std::string> all(static_cast<std::size_t>(count), "");
        all[0] = first;
        all[1] = second;
        return all;
    };
    const Case cases[] = {
        {"days with a weekday pattern", dates("2024-01-01", "2024-01-02", kPeriods), true, 7},
        {"days without one", dates("2024-01-01", "2024-01-02", kPeriods), false, 0},
        {"months, too few for two years and one", dates("2024-01-31", "2024-02-29", 24), true, 0},
        {"undated", {}, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::vector<double>> demand = WeeklyDemand();
        for (std::vector<double>& row : demand) {
            row.resize(c.dates.empty() ? kPeriods : c.dates.size());
            for (double& value : row) {
                value = c.weekly ? value : 10.0;
            }
        }
        SalesHistory history;
        history.salesPoints = kSalesPoints;
        history.periods = static_cast<int>(demand[0].size());
        std::vector<double> laidOut;
        for (const std::vector<double>& row : demand) {
            laidOut.insert(laidOut.end(), row.begin(), row.end());
        }
        history.demand = std::move(laidOut);
        history.dates = c.dates;
        const std::optional<SeasonSuggestion> found = SuggestSeason(history);
        EXPECT_EQ(found ? found->length : 0, c.suggested);
        if (found) {
            EXPECT_EQ(found->showing, kSalesPoints);
        }
    }
}

}  // namespace
}  // namespace sf
