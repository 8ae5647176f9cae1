#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "results/evaluation.h"
#include "results/figures.h"
#include "results/tradeoff.h"

namespace sf {

// What a finished block of a catalogue adds to the pooled rows of summary.csv and tradeoff.csv:
// per evaluation, in kEvaluations' order, the sums of its sound sales points and of all, and the
// trade-off's sums over the grid's lanes.
struct BlockSums {
    int first = 1;  // its first sales point, numbered in the file
    int count = 0;
    std::array<FigureSums, kEvaluations.size()> sound;
    std::array<FigureSums, kEvaluations.size()> all;
    std::array<TradeoffSums, kEvaluations.size()> tradeoff;
};

// pool.csv: one row per sum of a block, numbers as the shortest text that reads back to the
// same double, so that sums read back pool bit for bit as the run pooled them.
std::string PoolCsv(const std::vector<BlockSums>& blocks);

// The blocks of a pool.csv in their order. Throws a RunError naming the file (as `file`) and
// the row when the text is not one.
std::vector<BlockSums> ReadPoolCsv(std::string_view text, std::string_view file);

}  // namespace sf
