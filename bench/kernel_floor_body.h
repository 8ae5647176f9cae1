// The kernel floor for one instruction set: the including file defines SF_FLOOR_NAME,
// SF_FLOOR_WIDTH (doubles in one native vector) and, where the set has it, SF_FLOOR_FUSED(x, y, z),
// a fused multiply-add, which the engine's weight then uses in place of the division.
#include <cstring>

#include "estimation/exact_quotient.h"
#include "estimation/smoothing.h"
#include "kernel_floor.h"

namespace sf::bench {
namespace {

// The eight lanes are held as the engine holds them: in vectors of the processor's own width,
// since a wider vector type than the processor's is taken apart through memory and would
// measure that instead.
using Lanes = double __attribute__((vector_size(SF_FLOOR_WIDTH * sizeof(double))));
constexpr int kParts = 8 / SF_FLOOR_WIDTH;

inline __attribute__((always_inline)) Lanes Load(const double* from) {
    Lanes value;
    std::memcpy(&value, from, sizeof value);
    return value;
}

inline __attribute__((always_inline)) Lanes Weight(Lanes trial, double period, double reciprocal) {
#ifdef SF_FLOOR_FUSED
    const auto fused = [](Lanes x, Lanes y, Lanes z) __attribute__((always_inline)) {
        return SF_FLOOR_FUSED(x, y, z);
    };
    const auto quotient =
        [ reciprocal, fused ](Lanes numerator, double divisor) __attribute__((always_inline)) {
        return QuotientByReciprocal(numerator, divisor - Lanes{}, reciprocal - Lanes{}, fused);
    };
    return SmoothingWeight(trial, period, reciprocal, quotient);
#else
    return SmoothingWeight(trial, period, reciprocal);
#endif
}

}  // namespace

// Start value at the first period, then X(t) = (1 - w) X(t - 1) + w Y(t - 1) with the error
// sum. Each evaluation's trial waits on the last criterion, as a search's next trial does.
double SF_FLOOR_NAME(const double* input, const double* reciprocals) {
    const Lanes start = Lanes{} + 10.0;
    Lanes criterion[kParts] = {};
    for (int evaluation = 0; evaluation < kKernelEvaluations; ++evaluation) {
        Lanes trial[kParts], sum[kParts], previous[kParts], previousInput[kParts];
        for (int part = 0; part < kParts; ++part) {
            trial[part] = 0.3 + 0.0 * criterion[part];
            previousInput[part] = Load(input + kKernelFirst * 8 + part * SF_FLOOR_WIDTH);
            const Lanes startError = start - previousInput[part];
            sum[part] = startError * startError;
            previous[part] = start;
        }
        for (int t = kKernelFirst + 1; t <= kKernelEnd; ++t) {
            const double period = t;
            for (int part = 0; part < kParts; ++part) {
                const Lanes w = Weight(trial[part], period, reciprocals[t]);
                const Lanes x = SmoothedStep(w, previous[part], previousInput[part]);
                const Lanes y = Load(input + t * 8 + part * SF_FLOOR_WIDTH);
                const Lanes error = x - y;
                sum[part] = sum[part] + error * error;
                previous[part] = x;
                previousInput[part] = y;
            }
        }
        for (int part = 0; part < kParts; ++part) {
            criterion[part] = sum[part];
        }
    }
    double total = 0.0;
    for (int part = 0; part < kParts; ++part) {
        for (int lane = 0; lane < SF_FLOOR_WIDTH; ++lane) {
            total += criterion[part][lane];
        }
    }
    return total;
}

}  // namespace sf::bench
