#pragma once

#include "state/run_state.h"

namespace sf {

// The periods first..last, both included; empty when last < first.
struct PeriodStretch {
    int first = 0;
    int last = 0;

    bool Empty() const { return last < first; }
    int Length() const { return Empty() ? 0 : last - first + 1; }
};

// The stretches of a run's periods, from its converted inputs S (initPeriods), A
// (alphaBetaPeriods), H (horizon) and P (periodNumber). Each is written here only; those that
// results read back from files need also take the counts themselves.

// 1..S: the initial mean and deviation are taken over these.
inline PeriodStretch InitialisationWindow(const RunState& state) {
    return {1, state.initPeriods};
}

// S..S + H: the series hold their initial values.
inline PeriodStretch StartStretch(const RunState& state) {
    return {state.initPeriods, state.initPeriods + state.horizon};
}

// S + 1: the first period with a smoothing constant of its own, where every criterion starts.
inline int FirstFittedPeriod(int initPeriods) {
    return initPeriods + 1;
}

inline int FirstFittedPeriod(const RunState& state) {
    return FirstFittedPeriod(state.initPeriods);
}

// S + 1..S + A + H: alpha and beta hold the initial constants, and the series are smoothed
// with them after the start stretch.
inline PeriodStretch InitialFittingWindow(const RunState& state) {
    return {FirstFittedPeriod(state), state.initPeriods + state.alphaBetaPeriods + state.horizon};
}

// S + 1..windowEnd: a criterion judges a trial constant over these.
inline PeriodStretch CriterionWindow(const RunState& state, int windowEnd) {
    return {FirstFittedPeriod(state), windowEnd};
}

// S + 1..S + A: the window of the searches for the initial constants, without the last H
// periods of the initial fitting window.
inline PeriodStretch InitialCriterionWindow(const RunState& state) {
    return CriterionWindow(state, state.initPeriods + state.alphaBetaPeriods);
}

// S + A + H + 1..P: every period searches its constants again; empty when the windows before
// it cover every period.
inline PeriodStretch RollingStretch(const RunState& state) {
    return {InitialFittingWindow(state).last + 1, state.periodNumber};
}

// How many periods ahead a delivery is decided: H, or 1 when H = 0 (a forecast that holds its
// own period's demand is no forecast).
inline int DecisionLag(int horizon) {
    return horizon > 0 ? horizon : 1;
}

inline int DecisionLag(const RunState& state) {
    return DecisionLag(state.horizon);
}

// The period at which the delivery for period t is decided, knowing the demand up to it.
inline int DecisionPeriod(int t, int horizon) {
    return t - DecisionLag(horizon);
}

inline int DecisionPeriod(const RunState& state, int t) {
    return DecisionPeriod(t, state.horizon);
}

// P + 1..P + max(H, 1): the periods after the last whose deliveries are decided by period P,
// the last of them at P itself; empty when no rolling forecast was made (an empty rolling
// stretch). Near period 600 they lie beyond the matrices, so they are counted from P: the k-th
// is P + k.
inline PeriodStretch ComingPeriods(int periodNumber, int horizon, const PeriodStretch& rolling) {
    return {periodNumber + 1, rolling.Empty() ? periodNumber : periodNumber + DecisionLag(horizon)};
}

inline PeriodStretch ComingPeriods(const RunState& state) {
    return ComingPeriods(state.periodNumber, state.horizon, RollingStretch(state));
}

// S + 1..P: the periods with constants of their own, the initial fitting window and then the
// rolling stretch.
inline PeriodStretch ConstantsStretch(int initPeriods, int periodNumber) {
    return {FirstFittedPeriod(initPeriods), periodNumber};
}

inline PeriodStretch ConstantsStretch(const RunState& state) {
    return ConstantsStretch(state.initPeriods, state.periodNumber);
}

// S..P: deliveries, lost sales, returns and sales are counted over these.
inline PeriodStretch OutcomeWindow(const RunState& state) {
    return {state.initPeriods, state.periodNumber};
}

}  // namespace sf
