#include "estimation/brent.h"

#include "estimation/objectives.h"
#include "state/period_stretches.h"

namespace sf {
namespace {

using Objective = double (*)(RunState&, double trial, int salesPoint, int windowEnd);

double Search(RunState& state, RunObserver& observer, Objective objective, int salesPoint,
              int windowEnd, double low, double middle, double high) {
    return BrentMinimise(
        low, middle, high,
        [&](double trial) { return objective(state, trial, salesPoint, windowEnd); }, observer);
}

}  // namespace

double BrentAlphaInitial(RunState& state, RunObserver& observer, int salesPoint) {
    return Search(state, observer, AlphaObjective, salesPoint, InitialCriterionWindow(state).last,
                  0.0, 0.5, 1.0);
}

double BrentBetaInitial(RunState& state, RunObserver& observer, int salesPoint) {
    return Search(state, observer, BetaObjective, salesPoint, InitialCriterionWindow(state).last,
                  0.0, 0.5, 1.0);
}

double BrentAlphaUpdate(RunState& state, RunObserver& observer, int salesPoint, int windowEnd,
                        double previous) {
    const UpdateBracket bracket = UpdateBracketAround(previous, state.boundedConstants);
    return Search(state, observer, AlphaObjective, salesPoint, windowEnd, bracket.low,
                  bracket.centre, bracket.high);
}

double BrentBetaUpdate(RunState& state, RunObserver& observer, int salesPoint, int windowEnd,
                       double previous) {
    const UpdateBracket bracket = UpdateBracketAround(previous, state.boundedConstants);
    return Search(state, observer, BetaObjective, salesPoint, windowEnd, bracket.low,
                  bracket.centre, bracket.high);
}

}  // namespace sf
