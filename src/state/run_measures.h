#pragma once

#include <array>
#include <atomic>

namespace sf {

// The phases a run's time is told in.
enum class RunPhase { demand, estimation, results, outcome, report };
inline constexpr int kRunPhaseCount = 5;
inline constexpr std::array<const char*, kRunPhaseCount> kRunPhaseNames = {
    "demand", "estimation", "results", "outcome", "report"};

// What a run measures of itself when a benchmark asks: each phase's wall-clock and processor
// seconds (added up over the runs it is handed to), and the divisions the lanes' criteria take.
struct RunMeasures {
    std::array<double, kRunPhaseCount> wallSeconds{};
    std::array<double, kRunPhaseCount> processorSeconds{};
    std::atomic<long long> divisions{0};
};

}  // namespace sf
