#include "cli/results_summary.h"

#include "results/number_cells.h"

namespace sf {
namespace {

std::string Value(const std::optional<double>& value) {
    return value ? ShortestText(*value) : "none";
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
           "Fill rate: " + Value(sound.fillRate) + " (sales " + ShortestText(sound.sales) +
           " of demand " + ShortestText(sound.demand) + ")\n" +
           "Cycle service level: " + Value(sound.cycleServiceLevel) + "\n" +
           "Lost sales: " + ShortestText(sound.lostSales) + "\n" +
           "Returns: " + ShortestText(sound.returns) + "\n";
}

std::string AnswersText(const RunResults& results, Evaluation evaluation) {
    std::string text;
    const EvaluationAnswers& answers = results.Answers(evaluation);
    if (const std::optional<TargetAnswer>& target = answers.target) {
        text += "Target fill rate " + ShortestText(target->target) + ", " + Name(evaluation) + ": ";
        text += target->tau ? "tau " + ShortestText(*target->tau) + " (fill rate " +
                                  Value(target->fillRate) + ")"
                            : std::string("not reached");
        text += target->note.empty() ? "\n" : "; " + target->note + "\n";
    }
    if (const std::optional<CostAnswer>& cheapest = answers.cheapest) {
        text += "Cheapest tau of the grid, " + Name(evaluation) + ": " +
                ShortestText(cheapest->tau) + " (cost " + ShortestText(cheapest->cost) + ")";
        text += cheapest->note.empty() ? "\n" : "; " + cheapest->note + "\n";
    } else if (!answers.tradeoff.empty() && answers.tradeoff.front().cost) {
        text += "Cheapest tau of the grid, " + Name(evaluation) +
                ": none; the cost of every tau is too large to hold\n";
    }
    return text;
}

}  // namespace

std::string ResultsSummary(const RunResults& results, std::size_t warningCount,
                           const std::vector<std::string>& notes) {
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
                (results.normalTheory->tau ? ShortestText(*results.normalTheory->tau)
                                           : "none; " + results.normalTheory->note) +
                "\n";
    }
    return text;
}

}  // namespace sf
