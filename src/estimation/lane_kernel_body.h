// The lane kernel and search step, compiled once per instruction set: the including file
// defines SF_LANE_KERNEL_NAME, SF_LANE_GROUPS_NAME, SF_LANE_STEP_NAME and SF_LANE_VECTOR_WIDTH, the
// doubles in one native vector, and where the set has one, SF_LANE_FUSED(x, y, z), x y + z
// rounded once. Each operation is the scalar one, lane by lane and in the same order, so every
// instruction set gives the same bits; the weight's division is either the division or, with a
// fused multiply-add and trials it covers, the quotient path that gives its bits.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "estimation/brent_search.h"
#include "estimation/exact_quotient.h"
#include "estimation/lane_kernel.h"
#include "estimation/smoothing.h"

namespace sf {
namespace {

constexpr int kWidth = SF_LANE_VECTOR_WIDTH;
constexpr int kParts = kLaneCount / kWidth;  // independent vectors, which also hides latency
static_assert(kParts * kWidth == kLaneCount);

using LaneVector = double __attribute__((vector_size(kWidth * sizeof(double))));
using LaneMask = long long __attribute__((vector_size(kWidth * sizeof(double))));

#define SF_INLINE inline __attribute__((always_inline))
#define SF_LAMBDA_INLINE __attribute__((always_inline))

SF_INLINE LaneVector Load(const double* from) {
    LaneVector value;
    std::memcpy(&value, from, sizeof value);
    return value;
}

SF_INLINE void Store(double* to, LaneVector value) {
    std::memcpy(to, &value, sizeof value);
}

// Every lane set to the value as it is. Subtracting zero leaves every value, -0 included, so the
// compiler drops it; adding zero would cost an addition a period in the kernel's loop beside the
// broadcast, since -0 + 0 is +0.
SF_INLINE LaneVector Broadcast(double value) {
    return value - LaneVector{};
}

SF_INLINE LaneVector Select(LaneMask mask, LaneVector yes, LaneVector no) {
    return mask ? yes : no;
}

// Clears the sign bit, as fabs does, so that -0 becomes +0 too.
SF_INLINE LaneVector Abs(LaneVector value) {
    return reinterpret_cast<LaneVector>(reinterpret_cast<LaneMask>(value) &
                                        static_cast<long long>(0x7fffffffffffffffULL));
}

#ifdef SF_LANE_FUSED
struct FusedMultiplyAdd {
    SF_INLINE LaneVector operator()(LaneVector x, LaneVector y, LaneVector z) const {
        return SF_LANE_FUSED(x, y, z);
    }
};
#endif

// The weight of every lane at one period, by the division or the quotient path.
template <bool kFused>
SF_INLINE LaneVector LaneWeight(LaneVector trial, double period, double reciprocal) {
#ifdef SF_LANE_FUSED
    if constexpr (kFused) {
        const auto quotient = [reciprocal](LaneVector numerator, double divisor) SF_LAMBDA_INLINE {
            return QuotientByReciprocal(numerator, Broadcast(divisor), Broadcast(reciprocal),
                                        FusedMultiplyAdd{});
        };
        return SmoothingWeight(trial, period, reciprocal, quotient);
    }
#endif
    return SmoothingWeight(trial, period, reciprocal);
}

// Whether the quotient path may stand for the division in one call: this set has a fused
// multiply-add, and every busy lane's trial is one the path covers (an idle lane's is discarded).
SF_INLINE bool FusedCovers(const LaneKernelArgs* groups, int count) {
#ifdef SF_LANE_FUSED
    for (int group = 0; group < count; ++group) {
        if (groups[group].lastPeriod > kLargestExactDivisor) {
            return false;
        }
        for (int lane = 0; lane < kLaneCount; ++lane) {
            if (groups[group].windowEnd[lane] >= groups[group].first &&
                !QuotientPathCovers(groups[group].trial[lane])) {
                return false;
            }
        }
    }
    return true;
#else
    static_cast<void>(groups);
    static_cast<void>(count);
    return false;
#endif
}

enum class LagKind { none, one, several };

// One call's groups as its loop keeps them. The pointers are kept apart from the arguments,
// which the stores of the series could alias, so that the loop need not load them again at
// every step.
template <int kGroups>
struct GroupRegisters {
    const double* input[kGroups];
    double* output[kGroups];
    LaneVector trial[kGroups][kParts], start[kGroups][kParts], windowEnd[kGroups][kParts];
    LaneVector criterion[kGroups][kParts], previous[kGroups][kParts],
        previousInput[kGroups][kParts];
};

// A group's registers, and its periods before the first smoothed one: the start value stands
// for the forecast there.
template <LagKind kLag, int kGroups>
SF_INLINE void StartGroup(GroupRegisters<kGroups>& r, int group, const LaneKernelArgs& args,
                          int first, int lag) {
    r.input[group] = args.input;
    r.output[group] = args.output;
    for (int part = 0; part < kParts; ++part) {
        r.trial[group][part] = Load(args.trial + part * kWidth);
        r.start[group][part] = Load(args.start + part * kWidth);
        r.windowEnd[group][part] = Load(args.windowEnd + part * kWidth);
        r.criterion[group][part] = Broadcast(0.0);
        r.previous[group][part] = r.start[group][part];  // X(t - 1) while the lag is one
    }

    const int lastStart = std::min(first + lag - 1, args.lastPeriod);
    for (int t = first; t <= lastStart; ++t) {
        const LaneVector period = Broadcast(t);
        for (int part = 0; part < kParts; ++part) {
            const LaneVector y = Load(args.input + t * kLaneCount + part * kWidth);
            Store(args.output + t * kLaneCount + part * kWidth, r.start[group][part]);
            const LaneVector error = r.start[group][part] - y;
            r.criterion[group][part] = period <= r.windowEnd[group][part]
                                           ? r.criterion[group][part] + error * error
                                           : r.criterion[group][part];
        }
    }
    const int t = lastStart + 1;
    for (int part = 0; part < kParts; ++part) {
        r.previousInput[group][part] = kLag == LagKind::one && t > first && t <= args.lastPeriod
                                           ? Load(args.input + (t - 1) * kLaneCount + part * kWidth)
                                           : Broadcast(0.0);
    }
}

// One smoothed period of one group. Up to a group's common end every lane counts every period
// (unmasked); beyond it each lane stops at its own. A masked step leaves the busy lanes' bits as
// an unmasked one does.
template <LagKind kLag, bool kMasked, bool kFused, int kGroups>
SF_INLINE void StepGroup(GroupRegisters<kGroups>& r, int group, int t, int lag,
                         const double* reciprocals) {
    const double period = t;
    const double reciprocal = reciprocals[t];
    const double* inputNow = r.input[group] + t * kLaneCount;
    double* outputNow = r.output[group] + t * kLaneCount;
    for (int part = 0; part < kParts; ++part) {
        const int at = part * kWidth;
        const LaneVector w = LaneWeight<kFused>(r.trial[group][part], period, reciprocal);
        LaneVector lagged;
        LaneVector laggedInput;
        if constexpr (kLag == LagKind::none) {
            lagged = r.start[group][part];
            laggedInput = Load(inputNow + at);
        } else if constexpr (kLag == LagKind::one) {
            lagged = r.previous[group][part];
            laggedInput = r.previousInput[group][part];
        } else {
            lagged = Load(outputNow - lag * kLaneCount + at);
            laggedInput = Load(inputNow - lag * kLaneCount + at);
        }
        const LaneVector x = SmoothedStep(w, lagged, laggedInput);
        Store(outputNow + at, x);
        const LaneVector y = Load(inputNow + at);
        const LaneVector error = x - y;
        if constexpr (kMasked) {
            r.criterion[group][part] = Broadcast(period) <= r.windowEnd[group][part]
                                           ? r.criterion[group][part] + error * error
                                           : r.criterion[group][part];
        } else {
            r.criterion[group][part] = r.criterion[group][part] + error * error;
        }
        r.previous[group][part] = x;
        r.previousInput[group][part] = y;
    }
}

// Evaluates kGroups lane groups in one loop: each group has its own window ends, trials and
// criterion, and the groups' recurrences are independent, so the processor overlaps them where
// one group alone would wait on its own multiply-add chain.
template <LagKind kLag, bool kFused, int kGroups>
SF_INLINE void EvaluateGroupsWithLag(const LaneKernelArgs* groups) {
    const int first = groups[0].first;
    const int lag = groups[0].lag;
    const double* const reciprocals = groups[0].reciprocal;
    GroupRegisters<kGroups> r;
    int jointCommonEnd = groups[0].lastPeriod;
    int jointLastPeriod = groups[0].lastPeriod;
    for (int group = 0; group < kGroups; ++group) {
        const LaneKernelArgs& args = groups[group];
        jointCommonEnd = std::min(jointCommonEnd, std::min(args.commonEnd, args.lastPeriod));
        jointLastPeriod = std::min(jointLastPeriod, args.lastPeriod);
        StartGroup<kLag>(r, group, args, first, lag);
    }

    // The groups side by side while all of them go on, then each alone to its own last period.
    int t = first + lag;
    for (; t <= jointCommonEnd; ++t) {
        for (int group = 0; group < kGroups; ++group) {
            StepGroup<kLag, false, kFused>(r, group, t, lag, reciprocals);
        }
    }
    for (; t <= jointLastPeriod; ++t) {
        for (int group = 0; group < kGroups; ++group) {
            StepGroup<kLag, true, kFused>(r, group, t, lag, reciprocals);
        }
    }
    for (int group = 0; group < kGroups; ++group) {
        const LaneKernelArgs& args = groups[group];
        int own = t;
        for (; own <= std::min(args.commonEnd, args.lastPeriod); ++own) {
            StepGroup<kLag, false, kFused>(r, group, own, lag, reciprocals);
        }
        for (; own <= args.lastPeriod; ++own) {
            StepGroup<kLag, true, kFused>(r, group, own, lag, reciprocals);
        }
        for (int part = 0; part < kParts; ++part) {
            Store(args.criterion + part * kWidth, r.criterion[group][part]);
        }
    }
}

template <bool kFused, int kGroups>
SF_INLINE void EvaluateGroupsWeighted(const LaneKernelArgs* groups) {
    if (groups[0].lag == 0) {
        EvaluateGroupsWithLag<LagKind::none, kFused, kGroups>(groups);
    } else if (groups[0].lag == 1) {
        EvaluateGroupsWithLag<LagKind::one, kFused, kGroups>(groups);
    } else {
        EvaluateGroupsWithLag<LagKind::several, kFused, kGroups>(groups);
    }
}

template <int kGroups>
SF_INLINE void EvaluateGroups(const LaneKernelArgs* groups) {
    if (FusedCovers(groups, kGroups)) {
        EvaluateGroupsWeighted<true, kGroups>(groups);
    } else {
        EvaluateGroupsWeighted<false, kGroups>(groups);
    }
}

// BrentSearch::Take for every lane at once: each branch of the plain search becomes a choice
// between values computed in the same way, so each lane gets the bits the plain search gets.
SF_INLINE void StepSearches(LaneSearches& s, const double* values, int at) {
    const LaneVector fu = Load(values + at);
    const LaneVector u = Load(s.trial + at);
    const LaneVector iteration = Load(s.iteration + at);
    LaneVector a = Load(s.a + at), b = Load(s.b + at);
    LaneVector x = Load(s.x + at), w = Load(s.w + at), v = Load(s.v + at);
    LaneVector fx = Load(s.fx + at), fw = Load(s.fw + at), fv = Load(s.fv + at);
    LaneVector e = Load(s.e + at), d = Load(s.d + at);

    // Taking the trial: the starting evaluation only sets the three values.
    const LaneMask first = iteration == 0.0;
    const LaneMask better = !first && fu <= fx;
    const LaneMask worse = !first && !better;
    const LaneMask replaceW = worse && (fu <= fw || w == x);
    const LaneMask replaceV = worse && !replaceW && (fu <= fv || v == x || v == w);
    a = Select(better, Select(u >= x, x, a), Select(worse && u < x, u, a));
    b = Select(better, Select(u >= x, b, x), Select(worse && !(u < x), u, b));
    const LaneVector newV = Select(better || replaceW, w, Select(replaceV, u, v));
    const LaneVector newFv = Select(better || replaceW, fw, Select(replaceV, fu, fv));
    const LaneVector newW = Select(better, x, Select(replaceW, u, w));
    const LaneVector newFw = Select(better, fx, Select(replaceW, fu, fw));
    x = Select(better, u, x);
    fx = Select(first, fu, Select(better, fu, fx));
    fw = Select(first, fu, newFw);
    fv = Select(first, fu, newFv);
    w = newW;
    v = newV;
    const LaneVector taken = iteration + 1.0;

    // The next trial, or the end: by convergence, or after the hundredth trial.
    const LaneVector tol1 = Broadcast(kBrentTolerance);
    const LaneVector tol2 = 2.0 * tol1;
    const LaneVector xm = 0.5 * (a + b);
    const LaneMask converged = Abs(x - xm) <= tol2 - 0.5 * (b - a);
    const LaneMask tryParabola = Abs(e) > tol1;
    const LaneVector r = (x - w) * (fx - fv);
    LaneVector q = (x - v) * (fx - fw);
    LaneVector p = (x - v) * q - (x - w) * r;
    q = 2.0 * (q - r);
    p = Select(q > 0.0, -p, p);
    q = Abs(q);
    const LaneMask rejected = Abs(p) >= Abs(0.5 * q * e) || p <= q * (a - x) || p >= q * (b - x);
    const LaneMask parabolic = tryParabola && !rejected;
    LaneVector parabolicStep = p / q;
    const LaneVector provisional = x + parabolicStep;
    parabolicStep = Select(provisional - a < tol2 || b - provisional < tol2,
                           Select(xm - x >= 0.0, tol1, -tol1), parabolicStep);
    const LaneVector goldenE = Select(x >= xm, a - x, b - x);
    const LaneVector goldenStep = kGoldenFraction * goldenE;
    e = Select(parabolic, d, goldenE);
    d = Select(parabolic, parabolicStep, goldenStep);
    const LaneVector trial = Select(Abs(d) >= tol1, x + d, x + Select(d >= 0.0, tol1, -tol1));
    const LaneMask searching = taken <= kBrentIterationLimit && !converged;

    Store(s.a + at, a);
    Store(s.b + at, b);
    Store(s.x + at, x);
    Store(s.w + at, w);
    Store(s.v + at, v);
    Store(s.fx + at, fx);
    Store(s.fw + at, fw);
    Store(s.fv + at, fv);
    Store(s.e + at, e);
    Store(s.d + at, d);
    Store(s.trial + at, trial);
    Store(s.iteration + at, taken);
    Store(s.searching + at, Select(searching, Broadcast(1.0), Broadcast(0.0)));
}
}  // namespace

void SF_LANE_STEP_NAME(LaneSearches& searches, const double* values) {
    for (int part = 0; part < kParts; ++part) {
        StepSearches(searches, values, part * kWidth);
    }
}

void SF_LANE_KERNEL_NAME(const LaneKernelArgs& args) {
    EvaluateGroups<1>(&args);
}

void SF_LANE_GROUPS_NAME(const LaneKernelArgs* groups, int count) {
    static_assert(kMaxLaneGroups == 3);
    if (count == 1) {
        EvaluateGroups<1>(groups);
    } else if (count == 2) {
        EvaluateGroups<2>(groups);
    } else {
        EvaluateGroups<3>(groups);
    }
}

}  // namespace sf
