#include "estimation/brent.h"

#include "estimation/objectives.h"

namespace sf {
namespace {
constexpr double kUpdateHalfWidth = 0.1;
}

double BrentAlphaInitial(RunState& state, RunObserver& observer, int salesPoint) {
    return BrentMinimise(
        0.0, 0.5, 1.0,
        [&](double trial) {
            return AlphaObjective(state, trial, salesPoint,
                                  state.initPeriods + state.alphaBetaPeriods);
        },
        observer);
}

double BrentBetaInitial(RunState& state, RunObserver& observer, int salesPoint) {
    return BrentMinimise(
        0.0, 0.5, 1.0,
        [&](double trial) {
            return BetaObjective(state, trial, salesPoint,
                                 state.initPeriods + state.alphaBetaPeriods);
        },
        observer);
}

double BrentAlphaUpdate(RunState& state, RunObserver& observer, int salesPoint, int windowEnd,
                        double previous) {
    return BrentMinimise(
        previous - kUpdateHalfWidth, previous, previous + kUpdateHalfWidth,
        [&](double trial) { return AlphaObjective(state, trial, salesPoint, windowEnd); },
        observer);
}

double BrentBetaUpdate(RunState& state, RunObserver& observer, int salesPoint, int windowEnd,
                       double previous) {
    return BrentMinimise(
        previous - kUpdateHalfWidth, previous, previous + kUpdateHalfWidth,
        [&](double trial) { return BetaObjective(state, trial, salesPoint, windowEnd); }, observer);
}

}  // namespace sf
