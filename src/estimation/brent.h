#pragma once

#include <string_view>

#include "estimation/brent_search.h"
#include "state/run_observer.h"
#include "state/run_state.h"

namespace sf {

inline constexpr std::string_view kBrentNotice = "Pause in routine BRENT - too many iterations";

// Brent's minimisation of f from the starting points ax, bx (the middle one) and cx, with the
// absolute tolerance 1e-10 and at most 100 iterations after the starting evaluation. Returns
// the best point; f is never evaluated again there, so what its last trial left stays.
template <class Criterion>
double BrentMinimise(double ax, double bx, double cx, Criterion&& f, RunObserver& observer) {
    BrentSearch search(ax, bx, cx);
    while (search.Take(f(search.Trial()))) {
    }
    if (search.IterationLimitReached()) {
        observer.ShowNotice(kBrentNotice);
    }
    return search.Result();
}

// The four searches: over 0, 0.5, 1 with the window S + 1..S + A, or around the previous
// constant (UpdateBracketAround) with the window S + 1..windowEnd.
double BrentAlphaInitial(RunState& state, RunObserver& observer, int salesPoint);
double BrentBetaInitial(RunState& state, RunObserver& observer, int salesPoint);
double BrentAlphaUpdate(RunState& state, RunObserver& observer, int salesPoint, int windowEnd,
                        double previous);
double BrentBetaUpdate(RunState& state, RunObserver& observer, int salesPoint, int windowEnd,
                       double previous);

}  // namespace sf
