#include "cli/results_summary.h"

#include <tuple>

#include "cli/reading_numbers.h"
#include "results/next_deliveries.h"

namespace sf {
namespace {

// Up to this many sales points the summary lists each one's delivery to decide now.
constexpr std::size_t kSalesPointsListed = 20;

std::string Value(const std::optional<double>& value) {
    return value ? RateText(*value) : "none";
}

std::string Name(Evaluation evaluation) {
    return std::string(EvaluationName(evaluation));
}

std::string FiguresText(const RunResults& results, Evaluation evaluation) {
    const EvaluationFigures& figures = results.figures.Of(evaluation);
    if (figures.stretch.Empty()) {
        return Name(evaluation) + ": no periods\n";
    }
    const Figures& sound = figures.sound;
    return Name(evaluation) + ", periods " + std::to_string(figures.stretch.first) + " to " +
           std::to_string(figures.stretch.last) + ", sound sales points " +
           std::to_string(results.figures.SoundCount()) + " of " +
           std::to_string(figures.salesPoints.size()) + ":\n" +
           "Fill rate: " + Value(sound.fillRate) + " (sales " + ReadingText(sound.sales) +
           " of demand " + ReadingText(sound.demand) + ")\n" +
           "Cycle service level: " + Value(sound.cycleServiceLevel) + "\n" +
           "Lost sales: " + ReadingText(sound.lostSales) + "\n" +
           "Returns: " + ReadingText(sound.returns) + "\n";
}

std::string AnswersText(const RunResults& results, Evaluation evaluation) {
    std::string text;
    const EvaluationAnswers& answers = results.Answers(evaluation);
    for (const auto& [target, rate, words] :
         {std::tuple(&answers.target, &kFillRateTarget, "Target fill rate "),
          std::tuple(&answers.serviceLevelTarget, &kServiceLevelTarget,
                     "Target cycle service level "),
          std::tuple(&answers.costTarget, &kServiceLevelTarget,
                     "Cost tau, for the cycle service level cl / (cl + cr) = ")}) {
        if (!*target) {
            continue;
        }
        const std::string name(rate->name);
        text += words + ReadingText((*target)->target) + ", " + Name(evaluation) + ": ";
        text += (*target)->tau ? "tau " + ReadingText(*(*target)->tau) + " (" + name + " " +
                                     Value((*target)->rate) + ")"
                               : std::string("not reached");
        text += (*target)->note.empty() ? "\n" : "; " + (*target)->note + "\n";
    }
    if (const std::optional<CostAnswer>& cheapest = answers.cheapest) {
        text += "Cheapest tau of the grid, " + Name(evaluation) + ": " +
                ReadingText(cheapest->tau) + " (cost " + ReadingText(cheapest->cost) + ")";
        text += cheapest->note.empty() ? "\n" : "; " + cheapest->note + "\n";
    } else if (!answers.tradeoff.empty() && answers.tradeoff.front().cost) {
        text += "Cheapest tau of the grid, " + Name(evaluation) +
                ": none; the cost of every tau is too large to hold\n";
    }
    return text;
}

// "period 73", and on a dated sales history "period 73 (1980-01-31)".
std::string PeriodText(const RunSeries& series, int period) {
    const std::string_view date = series.Date(period);
    return "period " + std::to_string(period) +
           (date.empty() ? std::string() : " (" + std::string(date) + ")");
}

// The deliveries to decide now: their total over the sound sales points at the run's tau and
// at each tau answered, then each sales point's where they fit on a screen.
std::string DecidedNowText(const RunResults& results, const std::vector<NextDelivery>& next) {
    const std::optional<DecidedNow> now = DeliveriesDecidedNow(results, next);
    if (!now) {
        return "Deliveries to decide now: none; the estimation windows cover every period, so "
               "no rolling forecast was made to give them\n";
    }
    const AtTaus taus = DeliveryTaus(results);
    const std::size_t salesPoints = results.figures.sound.size();
    std::string text = "Deliveries to decide now, for " + PeriodText(results.series, now->period) +
                       ", sound sales points " + std::to_string(now->soundSalesPoints) + " of " +
                       std::to_string(salesPoints) + ":\n" + "At the run's tau " +
                       ReadingText(taus.run) + ": " + ReadingText(now->total.run) + "\n";
    for (const AnsweredTau& tau : kAnsweredTaus) {
        if (taus.*tau.value) {
            text += "At the " + std::string(tau.words) + " tau " + ReadingText(*(taus.*tau.value)) +
                    ": " + ReadingText(*(now->total.*tau.value)) + "\n";
        }
    }
    text += ProposalsTotalText(*now) + "\n";
    if (salesPoints > kSalesPointsListed) {
        return text + "Per sales point: --next prints them, --export writes them into next.csv\n";
    }
    text += "Per sales point, at the taus above:\n";
    for (const NextDelivery& row : next) {
        if (row.period != now->period) {
            continue;
        }
        const std::string number = std::to_string(row.salesPoint);
        const std::string name = results.series.Name(row.salesPoint);
        text += "Sales point " + number + (name == number ? "" : " (" + name + ")") + ": " +
                ReadingText(row.delivery.run);
        for (const AnsweredTau& tau : kAnsweredTaus) {
            if (const std::optional<double>& delivery = row.delivery.*tau.value) {
                text += ", " + ReadingText(*delivery);
            }
        }
        text += row.diverged ? "; diverged, not to be trusted; proposed " +
                                   (row.proposal ? ReadingText(*row.proposal) : "none") + " (" +
                                   std::string(ProposalSourceName(row.proposalFrom)) + ")\n"
                             : "\n";
    }
    return text;
}

// The check on unseen periods: each answer's pooled row.
std::string CheckText(const UnseenCheck& check) {
    std::string text = "Check on the unseen periods " + std::to_string(check.from) + " to " +
                       std::to_string(check.last) +
                       ", each tau chosen on the as_forecast periods before " +
                       std::to_string(check.from) + ", over the sound sales points:\n";
    for (const CheckRow& row : check.rows) {
        if (row.salesPoint != 0) {
            continue;
        }
        const TradeoffRow& figures = row.figures;
        text += std::string(row.answer) + ", tau " + ReadingText(row.tau) + ": fill rate " +
                Value(figures.fillRate) + ", cycle service level " +
                Value(figures.cycleServiceLevel) + ", lost sales " +
                ReadingText(figures.lostSales) + ", returns " + ReadingText(figures.returns);
        if (figures.cost) {
            text += ", cost " + ReadingText(*figures.cost);
        }
        if (row.reached) {
            text += "; reached by a share of " + ReadingText(*row.reached) + " of them";
        }
        text += "\n";
    }
    return text;
}

// The season indices of each sales point, position 1 first; 0 at a closed position.
std::string SeasonText(const RunSeries& series) {
    std::string text = "Season indices of " + std::to_string(series.season.length) +
                       " periods (position 1 is period 1's; the figures above are in the "
                       "demand's own units):\n";
    for (std::size_t at = 0; at < series.season.indices.size(); ++at) {
        const int sp = static_cast<int>(at) + 1;
        const std::string number = std::to_string(sp);
        const std::string name = series.Name(sp);
        text += "Sales point " + number + (name == number ? "" : " (" + name + ")") + ":";
        for (const double index : series.season.indices[at]) {
            text += " " + RateText(index);
        }
        text += "\n";
    }
    return text;
}

}  // namespace

std::string ResultsSummary(const RunResults& results, std::size_t warningCount,
                           const std::vector<std::string>& notes) {
    return ResultsSummary(results, NextDeliveries(results), warningCount, notes);
}

std::string ResultsSummary(const RunResults& results, const std::vector<NextDelivery>& next,
                           std::size_t warningCount, const std::vector<std::string>& notes) {
    const Evaluation headline = results.Headline();
    const Evaluation other =
        headline == Evaluation::asForecast ? Evaluation::asReported : Evaluation::asForecast;
    std::string text = FiguresText(results, headline) + FiguresText(results, other) +
                       "Warnings: " + std::to_string(warningCount) + "\n";
    for (const std::string& note : notes) {
        text += "Note: " + note + "\n";
    }
    text += AnswersText(results, headline) + AnswersText(results, other);
    if (results.normalTheory) {
        text += "Normal-theory tau for the costs: " +
                (results.normalTheory->tau ? ReadingText(*results.normalTheory->tau)
                                           : "none; " + results.normalTheory->note) +
                "\n";
    }
    if (results.check) {
        text += CheckText(*results.check);
    }
    if (results.series.season.Active()) {
        text += SeasonText(results.series);
    }
    return text + DecidedNowText(results, next);
}

}  // namespace sf
