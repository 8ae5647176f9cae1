#pragma once

#include <string>

#include "state/box_keys.h"
#include "state/run_measures.h"

namespace sf {

// The rolling forecast runs in SIMD lanes over every core; the plain path is the reference the
// lanes are proven against, kept for tests and measurements.
enum class EstimationPath { lanes, plain };

struct LaneOptions {
    std::string kernel;  // a kernel's name; empty: the fastest this processor has
    int threads = 0;     // 0: one per core
    // When set, the divisions of the criteria are added to it (for benchmarks).
    std::atomic<long long>* divisions = nullptr;
};

// A slice of a sales history's sales points that a run takes as if a file held them alone: the
// first and how many (0: all of them).
struct SalesPointBlock {
    int first = 1;
    int count = 0;
};

// How a run computes, beside what the boxes say.
struct RunOptions {
    EstimationPath estimation = EstimationPath::lanes;
    LaneOptions lanes;
    // Holds every rolling search within 0..1; off, a constant may leave that range.
    bool boundedConstants = false;
    // The season length M the demand is adjusted by: 0 for none, else at least 2.
    int season = 0;
    // How a refused box is named in the message.
    BoxNaming boxNaming = BoxNaming::labels;
    // When set, the run adds its phase times and divisions to it (for benchmarks).
    RunMeasures* measures = nullptr;
    // The sales points of a sales history this run takes (a catalogue run's block).
    SalesPointBlock block{};
};

}  // namespace sf
