#include "history/history_demand.h"

namespace sf {

void FillActualDemand(const SalesHistory& history, RunState& state) {
    for (int salesPoint = 1; salesPoint <= history.salesPoints; ++salesPoint) {
        for (int period = 1; period <= history.periods; ++period) {
            state.actualDemand(salesPoint, period) = history.Demand(salesPoint, period);
        }
    }
    state.salesPointNames = history.names;
    state.periodDates = history.dates;
}

}  // namespace sf
