#pragma once

namespace sf {

// Declared only: the kernel files, each compiled for its own instruction set, include this
// header and need none of the set's code (runtime/kernel_set.h).
template <class Kernel>
class KernelSet;

// Sales points whose searches run side by side, one per SIMD lane.
inline constexpr int kLaneCount = 8;

// One criterion evaluation per lane, all lanes in step over the periods. Every lane replays
// X(t) = (1 - w) X(t - H) + w Y(t - H) from X = start over its window first..windowEnd and sums
// (X(t) - Y(t))^2: with Y the demand this is the alpha criterion, with Y = |D - F| the beta
// criterion. Arrays by period hold the lanes side by side: [period * kLaneCount + lane].
struct LaneKernelArgs {
    int first = 0;       // S + 1, the same for every lane
    int lag = 0;         // H
    int commonEnd = 0;   // the smallest window end of the busy lanes: no lane stops before it
    int lastPeriod = 0;  // the largest window end of the lanes
    const double* trial = nullptr;      // the constant of each lane
    const double* start = nullptr;      // X over S + 1..S + H
    const double* windowEnd = nullptr;  // a lane is idle beyond its own end
    // 1 / t by period, as the division gives it: the quotient path takes the weight's from it.
    const double* reciprocal = nullptr;
    const double* input = nullptr;  // Y
    double* output = nullptr;       // X of this evaluation
    double* criterion = nullptr;    // the sum of each lane
};

// The divisions one lane's evaluation over first..windowEnd takes: one a period beyond the H
// periods that keep the start value.
inline long long LaneDivisions(int first, int lag, int windowEnd) {
    const int periods = windowEnd - (first + lag) + 1;
    return periods > 0 ? periods : 0;
}

// The Brent searches of the lanes side by side, with the meaning of the plain search's state.
struct LaneSearches {
    double a[kLaneCount], b[kLaneCount];
    double x[kLaneCount], w[kLaneCount], v[kLaneCount];
    double fx[kLaneCount], fw[kLaneCount], fv[kLaneCount];
    double e[kLaneCount], d[kLaneCount];
    double trial[kLaneCount];
    double iteration[kLaneCount];  // 0 until the starting evaluation has been taken
    double searching[kLaneCount];  // 1 while a further trial is wanted, 0 once a search ended
};

// Starts the search of one lane from ax, bx (evaluated first) and cx.
void StartLaneSearch(LaneSearches& searches, int lane, double ax, double bx, double cx);

using LaneKernel = void (*)(const LaneKernelArgs& args);
// Up to kMaxLaneGroups groups of lanes evaluated in one interleaved loop, each as LaneKernel
// would evaluate it alone; the groups share first, lag and reciprocal. Independent recurrences
// keep the vector units busy where one group would wait on its own chain of multiplications and
// additions.
inline constexpr int kMaxLaneGroups = 3;
using LaneGroupKernel = void (*)(const LaneKernelArgs* groups, int count);
// Every lane's search takes the value at its trial, exactly as BrentSearch::Take does, and
// either sets its next trial or ends.
using LaneSearchStep = void (*)(LaneSearches& searches, const double* values);

struct NamedLaneKernel {
    const char* name;
    LaneKernel kernel;
    LaneGroupKernel groups;
    LaneSearchStep step;
};

// The lane kernels of every instruction set this processor has.
const KernelSet<NamedLaneKernel>& LaneKernels();

}  // namespace sf
