// Every reference scenario that completes, run through the batch command's own reading of its
// command line and its own delivery of the results: the export holds the run state's numbers
// bit for bit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <functional>
#include <nlohmann/json.hpp>
#include <set>

#include "as_known_reference.h"
#include "cli/cli_options.h"
#include "cli/results_output.h"
#include "csv_reading.h"
#include "outcome/period_outcome.h"
#include "recording_observer.h"
#include "results/export_folder.h"
#include "results/number_cells.h"
#include "results/run_health.h"
#include "run/run_driver.h"
#include "scenario/scenario_format.h"
#include "test_folder.h"

namespace sf {
namespace {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The words of a .cmd line after the command, with '...' quoting as the shell reads it there.
std::vector<std::string> CommandArguments(const std::filesystem::path& cmd) {
    std::istringstream lines(FileText(cmd));
    std::string line;
    while (std::getline(lines, line) && line.rfind("sales-forecast-cli", 0) != 0) {
    }
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char c : line.substr(std::string("sales-forecast-cli").size())) {
        if (c == '\'') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord) {
                words.push_back(word);
            }
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

// A command line of the batch command, and where a reference report is kept for it.
struct ExportCase {
    std::string name;
    std::vector<std::string> arguments;
    std::optional<std::filesystem::path> report;
    bool diverges = false;  // some sales point's forecasts diverged
};

std::vector<ExportCase> ExportCases() {
    std::vector<ExportCase> cases;
    for (const auto& entry : std::filesystem::directory_iterator(SF_GOLDEN_DIR)) {
        std::filesystem::path exit = entry.path();
        exit.replace_extension(".exit");
        if (entry.path().extension() == ".cmd" && FileText(exit).substr(0, 1) == "0") {
            std::filesystem::path report = entry.path();
            report.replace_extension(".out.txt");
            std::string name = "case_" + entry.path().stem().string();
            std::replace(name.begin(), name.end(), '-', '_');
            cases.push_back({name, CommandArguments(entry.path()), report});
        }
    }
    std::sort(cases.begin(), cases.end(),
              [](const ExportCase& a, const ExportCase& b) { return a.name < b.name; });
    // No reference case diverges, nor decides a delivery at S.
    cases.push_back(
        {"diverging", {"--example", "--periods", "120", "--seed", "1"}, std::nullopt, true});
    cases.push_back({"horizon_0_first_decision_at_S",
                     {"--example", "--horizon", "0", "--alpha-beta-periods", "0", "--runs", "3"},
                     std::nullopt});
    return cases;
}

// The cell of a row by its column's name.
class ByHeader {
  public:
    explicit ByHeader(std::vector<std::vector<std::string>> rows) : rows_(std::move(rows)) {
        for (std::size_t at = 0; at < rows_.front().size(); ++at) {
            columns_[rows_.front()[at]] = at;
        }
    }
    const std::string& Cell(std::size_t row, const std::string& column) const {
        const auto found = columns_.find(column);
        EXPECT_NE(found, columns_.end()) << "no column " << column;
        return rows_.at(row).at(found == columns_.end() ? 0 : found->second);
    }
    std::size_t Rows() const { return rows_.size(); }
    const std::vector<std::string>& Header() const { return rows_.front(); }
    // The first row whose cells in the key columns are these.
    std::size_t Find(const std::vector<std::pair<std::string, std::string>>& keys) const {
        for (std::size_t row = 1; row < rows_.size(); ++row) {
            if (std::ranges::all_of(
                    keys, [&](const auto& key) { return Cell(row, key.first) == key.second; })) {
                return row;
            }
        }
        ADD_FAILURE() << "no row with " << keys.front().second;
        return 0;
    }

  private:
    std::vector<std::vector<std::string>> rows_;
    std::map<std::string, std::size_t> columns_;
};

class ResultsOnGoldenCases : public ::testing::TestWithParam<ExportCase> {};

// Each case runs as the batch command runs it, runs and export included, and every export file
// is read by its headers against the report, the run state and the criteria replayed with the
// constants each decision period used.
TEST_P(ResultsOnGoldenCases, ExportHoldsTheRunStateBitForBit) {
    std::string problem;
    std::optional<CliOptions> options = ParseCliOptions(GetParam().arguments, problem);
    ASSERT_TRUE(options) << problem;
    TestFolder folder;
    options->results.exportFolder = folder.Path("export");
    options->results.request.targetFillRate = 0.9;
    options->results.request.costs = OutcomeCosts{2.0, 1.0};
    options->output = folder.Path("out.txt");
    ASSERT_FALSE(CheckExportFolder(*options->results.exportFolder));
    auto state = std::make_unique<RunState>();
    UniformSource source(options->results.seed);
    RecordingObserver observer;
    RunHealth health;
    for (int run = 1; run <= options->runs; ++run) {
        const RunOutcome outcome = ExecuteRun(*state, source, options->inputs, NumberLocale{},
                                              options->output, observer, options->run);
        ASSERT_TRUE(outcome.completed);
        health = outcome.health;
        std::ostringstream out, err;
        ASSERT_TRUE(DeliverResults(*state, *options, run, HealthWarnings(health, "--b"),
                                   HealthNotes(health),
                                   ScenarioText(GivenScenario(*options), NumberLocale{}), out, err))
            << err.str();
    }
    if (GetParam().report) {
        ASSERT_EQ(folder.Read("out.txt"), FileText(*GetParam().report));
    }

    const int n = state->salesPointCount;
    const int s = state->initPeriods;
    const int h = state->horizon;
    const int p = state->periodNumber;
    const int rollingFirst = s + state->alphaBetaPeriods + h + 1;
    // The periods after P decided by P, when there is a rolling stretch.
    const int lastComing = rollingFirst <= p ? p + std::max(h, 1) : p;
    ASSERT_LE(lastComing, kMaxPeriods);  // within the reference's matrices
    AsKnownReference reference(*state);
    // The forecast, sigma and outcome of each rolling and coming period as known at its
    // decision; a coming period's outcome is its delivery alone.
    std::map<std::pair<int, int>, KnownForecast> known;
    std::map<std::pair<int, int>, PeriodOutcome<double>> knownOutcome;
    for (int sp = 1; sp <= n; ++sp) {
        for (int t = rollingFirst; t <= lastComing; ++t) {
            const int decision = t - std::max(h, 1);
            known[{sp, t}] = reference.At(sp, decision, decision + h);
            knownOutcome[{sp, t}] = OutcomeOfPeriod(known[{sp, t}].forecast, known[{sp, t}].sigma,
                                                    state->tau, state->actualDemand(sp, t));
        }
    }

    // summary.csv: as reported the report's table and totals; as known the replayed outcomes.
    const ByHeader summary(CsvRows(folder.Read("export/summary.csv")));
    ASSERT_EQ(summary.Rows(), static_cast<std::size_t>(2 * (n + 2) + 1));
    std::set<int> diverged;
    for (int sp = 1; sp <= n; ++sp) {
        const std::string number = std::to_string(sp);
        const std::size_t reported =
            summary.Find({{"evaluation", "as_reported"}, {"sales_point", number}});
        EXPECT_EQ(summary.Cell(reported, "name"), number);
        EXPECT_EQ(summary.Cell(reported, "seed"), std::to_string(options->results.seed));
        EXPECT_EQ(summary.Cell(reported, "run"), std::to_string(options->runs));
        EXPECT_EQ(summary.Cell(reported, "first_period"), p >= s ? std::to_string(s) : "");
        EXPECT_TRUE(SameBits(CellValue(summary.Cell(reported, "sales")), state->salesSum[sp]));
        EXPECT_TRUE(
            SameBits(CellValue(summary.Cell(reported, "lost_sales")), state->lostSaleSum[sp]));
        EXPECT_TRUE(SameBits(CellValue(summary.Cell(reported, "returns")), state->returnedSum[sp]));
        const std::size_t forecast =
            summary.Find({{"evaluation", "as_forecast"}, {"sales_point", number}});
        double sums[4] = {};
        for (int t = rollingFirst; t <= p; ++t) {
            const PeriodOutcome<double>& outcome = knownOutcome[{sp, t}];
            sums[0] = sums[0] + outcome.sales;
            sums[1] = sums[1] + outcome.lostSale;
            sums[2] = sums[2] + outcome.returned;
            sums[3] = sums[3] + outcome.delivery;
        }
        const char* columns[] = {"sales", "lost_sales", "returns", "deliveries"};
        for (int at = 0; at < 4; ++at) {
            EXPECT_TRUE(SameBits(CellValue(summary.Cell(forecast, columns[at])), sums[at]))
                << "as_forecast " << columns[at] << " of " << sp;
        }
        if (summary.Cell(reported, "diverged") == "1" ||
            summary.Cell(forecast, "diverged") == "1") {
            diverged.insert(sp);
        }
    }
    EXPECT_EQ(std::vector<int>(diverged.begin(), diverged.end()), health.divergedSalesPoints);
    EXPECT_EQ(!diverged.empty(), GetParam().diverges);
    // The all row holds the report's totals, the sound row the sums of the sound sales points
    // added in their order (the totals where nothing diverged).
    double soundSums[3] = {};
    for (int sp = 1; sp <= n; ++sp) {
        if (!diverged.contains(sp)) {
            soundSums[0] = soundSums[0] + state->salesSum[sp];
            soundSums[1] = soundSums[1] + state->lostSaleSum[sp];
            soundSums[2] = soundSums[2] + state->returnedSum[sp];
        }
    }
    const double totals[3] = {state->totalSales, state->totalLostSale, state->totalReturn};
    const std::pair<std::string, const double*> rows[] = {{"all", totals}, {"sound", soundSums}};
    for (const auto& [row, sums] : rows) {
        const std::size_t at = summary.Find({{"evaluation", "as_reported"}, {"sales_point", row}});
        const char* columns[] = {"sales", "lost_sales", "returns"};
        for (int column = 0; column < 3; ++column) {
            EXPECT_TRUE(SameBits(CellValue(summary.Cell(at, columns[column])), sums[column]))
                << row << " " << columns[column];
        }
    }

    // series.csv: every column read by its name against where it comes from; a column that is
    // not in this table fails. The coming periods close each sales point's rows.
    const ByHeader series(CsvRows(folder.Read("export/series.csv")));
    ASSERT_EQ(series.Rows(), static_cast<std::size_t>(n * std::max(lastComing, 0) + 1));
    const bool hasMean = state->model != DemandModel::AR1 && state->model != DemandModel::Normal;
    using Source = std::function<std::optional<double>(int sp, int t)>;
    auto matrix = [&](const Matrix RunState::*member, int first) -> Source {
        return [&state, member, first, p](int sp, int t) -> std::optional<double> {
            return t >= first && t <= p ? std::optional(((*state).*member)(sp, t)) : std::nullopt;
        };
    };
    auto asKnown = [&](auto value) -> Source {
        return [&, value](int sp, int t) -> std::optional<double> {
            return t >= rollingFirst ? std::optional(value(sp, t)) : std::nullopt;
        };
    };
    const std::map<std::string, Source> sources = {
        {"sales_point", [](int sp, int) { return sp; }},
        {"name", [](int sp, int) { return sp; }},
        {"period", [](int, int t) { return t; }},
        {"date", [](int, int) { return std::nullopt; }},
        {"demand_mean", matrix(&RunState::demandMean, hasMean ? 1 : p + 1)},
        {"demand", matrix(&RunState::actualDemand, 1)},
        {"forecast", matrix(&RunState::mu, s)},
        {"mad", matrix(&RunState::mad, s)},
        {"sigma", matrix(&RunState::sigma, s)},
        {"alpha", matrix(&RunState::alphaUsed, s + 1)},
        {"beta", matrix(&RunState::betaUsed, s + 1)},
        {"delivery", matrix(&RunState::delivery, s)},
        {"lost_sale", matrix(&RunState::lostSale, s)},
        {"returned", matrix(&RunState::returned, s)},
        {"sales", matrix(&RunState::sales, s)},
        {"forecast_as_forecast", asKnown([&](int sp, int t) {
             return known[{sp, t}].forecast;
         })},
        {"sigma_as_forecast", asKnown([&](int sp, int t) {
             return known[{sp, t}].sigma;
         })},
        {"delivery_as_forecast", asKnown([&](int sp, int t) {
             return knownOutcome[{sp, t}].delivery;
         })},
        {"decided_at", asKnown([&](int, int t) { return t - std::max(h, 1); })},
    };
    for (const std::string& column : series.Header()) {
        ASSERT_TRUE(sources.contains(column)) << "series.csv column " << column << " unchecked";
    }
    std::size_t line = 1;
    for (int sp = 1; sp <= n; ++sp) {
        for (int t = 1; t <= lastComing; ++t, ++line) {
            for (const auto& [column, source] : sources) {
                const std::string& cell = series.Cell(line, column);
                const std::optional<double> expected = source(sp, t);
                if (expected) {
                    ASSERT_TRUE(SameBits(CellValue(cell), *expected))
                        << column << " at " << sp << ", " << t << ": " << cell;
                } else {
                    ASSERT_EQ(cell, "") << column << " at " << sp << ", " << t;
                }
            }
        }
    }

    // next.csv: the rows of the coming periods of series.csv, and the deliveries at the answered
    // taus of as_forecast.
    const nlohmann::json json = nlohmann::json::parse(folder.Read("export/run.json"));
    const ByHeader next(CsvRows(folder.Read("export/next.csv")));
    ASSERT_EQ(next.Rows(), static_cast<std::size_t>(n * (lastComing - p) + 1));
    const auto tauIn = [](const nlohmann::json& tau) {
        return tau.is_null() ? std::nullopt : std::optional(tau.get<double>());
    };
    const std::optional<double> targetTau = tauIn(json["target_fill_rate"]["as_forecast"]["tau"]);
    const std::optional<double> cheapestTau = tauIn(json["cheapest_tau"]["as_forecast"]["tau"]);
    std::size_t nextLine = 1;
    for (int sp = 1; sp <= n; ++sp) {
        for (int t = p + 1; t <= lastComing; ++t, ++nextLine) {
            const std::size_t seriesLine =
                static_cast<std::size_t>(sp * lastComing - lastComing + t);
            for (const char* column : {"sales_point", "name", "period", "decided_at"}) {
                EXPECT_EQ(next.Cell(nextLine, column), series.Cell(seriesLine, column)) << column;
            }
            EXPECT_EQ(next.Cell(nextLine, "forecast"),
                      series.Cell(seriesLine, "forecast_as_forecast"));
            EXPECT_EQ(next.Cell(nextLine, "sigma"), series.Cell(seriesLine, "sigma_as_forecast"));
            EXPECT_EQ(next.Cell(nextLine, "delivery"),
                      series.Cell(seriesLine, "delivery_as_forecast"));
            const KnownForecast& value = known[{sp, t}];
            for (const auto& [column, tau] : {std::pair("delivery_at_target_tau", targetTau),
                                              std::pair("delivery_at_cheapest_tau", cheapestTau)}) {
                const std::string& cell = next.Cell(nextLine, column);
                EXPECT_TRUE(
                    tau ? SameBits(CellValue(cell).value_or(-1.0),
                                   OutcomeOfPeriod(value.forecast, value.sigma, *tau, 0.0).delivery)
                        : cell.empty())
                    << column << " at " << sp << ", " << t << ": " << cell;
            }
            EXPECT_EQ(next.Cell(nextLine, "delivery_at_service_level_tau"), "");  // not asked
            EXPECT_EQ(next.Cell(nextLine, "diverged"), diverged.contains(sp) ? "1" : "0");
        }
    }

    // tradeoff.csv: the row of the run's own tau of each evaluation holds its sound row.
    const ByHeader tradeoff(CsvRows(folder.Read("export/tradeoff.csv")));
    const std::string ownTau = ShortestText(state->tau);
    for (const Evaluation evaluation : kEvaluations) {
        const std::string name(EvaluationName(evaluation));
        const std::size_t own = tradeoff.Find({{"evaluation", name}, {"tau", ownTau}});
        const std::size_t sound = summary.Find({{"evaluation", name}, {"sales_point", "sound"}});
        for (const char* column :
             {"fill_rate", "cycle_service_level", "lost_sales", "returns", "deliveries", "sales"}) {
            EXPECT_EQ(tradeoff.Cell(own, column), summary.Cell(sound, column))
                << name << " " << column;
        }
    }

    // run.json: how the run was made and its totals, by their keys.
    EXPECT_EQ(json["run"], options->runs);
    EXPECT_EQ(json["seed"], options->results.seed);
    EXPECT_EQ(json["options"]["lost_sale_cost"], 2.0);
    EXPECT_EQ(json["options"]["return_cost"], 1.0);
    EXPECT_EQ(json["sound_sales_points"], n - static_cast<int>(diverged.size()));
    for (const Evaluation evaluation : kEvaluations) {
        const std::string name(EvaluationName(evaluation));
        for (const char* row : {"sound", "all"}) {
            const std::size_t at = summary.Find({{"evaluation", name}, {"sales_point", row}});
            const nlohmann::json& figures = json["totals"][name][row];
            for (const char* column : {"sales", "cycle_service_level", "fill_rate", "diverged"}) {
                const std::optional<double> cell = CellValue(summary.Cell(at, column));
                EXPECT_EQ(figures[column].is_null(), !cell) << name << " " << row << " " << column;
                EXPECT_TRUE(!cell || SameBits(figures[column].get<double>(), *cell))
                    << name << " " << row << " " << column;
            }
        }
    }
    EXPECT_TRUE(
        SameBits(json["totals"]["as_reported"]["all"]["sales"].get<double>(), state->totalSales));
}

INSTANTIATE_TEST_SUITE_P(ReferenceScenarios, ResultsOnGoldenCases,
                         ::testing::ValuesIn(ExportCases()),
                         [](const ::testing::TestParamInfo<ExportCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace sf
