#include "history/history_demand.h"

namespace sf {

void FillActualDemand(const SalesHistory& history, SalesPointBlock block, RunState& state) {
    const int count = block.count > 0 ? block.count : history.salesPoints;
    for (int salesPoint = 1; salesPoint <= count; ++salesPoint) {
        const int fromFile = block.first + salesPoint - 1;
        for (int period = 1; period <= history.periods; ++period) {
            state.actualDemand(salesPoint, period) = history.Demand(fromFile, period);
        }
    }
    state.salesPointNames.clear();
    if (!history.names.empty()) {
        const auto first = history.names.begin() + (block.first - 1);
        state.salesPointNames.assign(first, first + count);
    }
    state.periodDates = history.dates;
}

}  // namespace sf
