#pragma once

// The criterion kernel's floor: evaluations of the lag-1 criterion on eight lanes over a window
// of 300 periods (the middle of the rolling periods 25..600), with the operations of the engine's
// unmasked kernel steps in their order, keeping no series. One function per instruction set,
// each compiled for its own, as the engine's kernels are; each returns the sum of every lane's
// last criterion, so that no lane's work can be left out.
namespace sf::bench {

inline constexpr int kKernelFirst = 13;
inline constexpr int kKernelEnd = 312;
inline constexpr int kKernelEvaluations = 1024;
inline constexpr long long kKernelFloorSteps =
    static_cast<long long>(kKernelEvaluations) * 8 * (kKernelEnd - kKernelFirst);

double KernelEvaluationsAvx512(const double* input, const double* reciprocals);
double KernelEvaluationsAvx2(const double* input, const double* reciprocals);
double KernelEvaluationsPortable(const double* input, const double* reciprocals);

}  // namespace sf::bench
