#include "cli/results_summary.h"

#include "results/number_cells.h"

namespace sf {
namespace {

std::string Value(const std::optional<double>& value) {
    return value ? ShortestText(*value) : "none";
}

}  // namespace

std::string ResultsSummary(const RunResults& results, std::size_t warningCount) {
    const Figures& all = results.figures.all;
    std::string text = "Fill rate: " + Value(all.fillRate) + " (sales " + ShortestText(all.sales) +
                       " of demand " + ShortestText(all.demand) + ")\n" +
                       "Cycle service level: " + Value(all.cycleServiceLevel) + "\n" +
                       "Lost sales: " + ShortestText(all.lostSales) + "\n" +
                       "Returns: " + ShortestText(all.returns) + "\n" +
                       "Warnings: " + std::to_string(warningCount) + "\n";
    if (const std::optional<TargetAnswer>& target = results.target) {
        text += "Target fill rate " + ShortestText(target->target) + ": ";
        text += target->tau ? "tau " + ShortestText(*target->tau) + " (fill rate " +
                                  Value(target->fillRate) + ")"
                            : std::string("not reached");
        text += target->note.empty() ? "\n" : "; " + target->note + "\n";
    }
    if (const std::optional<CostAnswer>& cheapest = results.cheapest) {
        text += "Cheapest tau of the grid: " + ShortestText(cheapest->tau) + " (cost " +
                ShortestText(cheapest->cost) + ")";
        text += cheapest->note.empty() ? "\n" : "; " + cheapest->note + "\n";
    } else if (!results.tradeoff.empty() && results.tradeoff.front().cost) {
        text += "Cheapest tau of the grid: none; the cost of every tau is too large to hold\n";
    }
    return text;
}

}  // namespace sf
