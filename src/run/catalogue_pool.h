#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "results/next_deliveries.h"
#include "results/pool_table.h"
#include "results/run_results.h"

namespace sf {

// What a finished block of a catalogue leaves for the whole once its series are gone.
struct FinishedBlock {
    int first = 1;  // its first sales point, numbered in the catalogue
    // Its run's numbers (P, H, tau, the stretches, the dates), its names and season indices; of
    // its sales points' periods only what a search of tau over the catalogue reads (SearchesTau):
    // the demand and both evaluations' forecasts and sigmas.
    RunSeries series;
    RunFigures figures;  // its sales points' rows and the sums of its pooled rows
    // Per evaluation, in kEvaluations' order: the sums of the request's grid over its sound
    // sales points.
    std::array<TradeoffSums, kEvaluations.size()> tradeoff;
    std::vector<NextDelivery> next;  // numbered in the catalogue, no answered taus yet
    std::vector<Proposal> proposals;
};

// A block's results with their proposals, its sales points numbered from first in the
// catalogue, reduced to what the catalogue's files and answers need.
FinishedBlock FinishBlock(RunResults&& block, const ResultsRequest& request, int first);

// The blocks pooled so far, in block order.
struct CataloguePool {
    RunResults results;
    std::array<TradeoffSums, kEvaluations.size()> tradeoff;
    std::vector<NextDelivery> next;
    std::vector<BlockSums> blocks;  // each block's sums, in block order
};

// The next block into the pool: its sales points after those before, its sums added to theirs.
void PoolBlock(CataloguePool& pool, FinishedBlock&& block);

// Once every block is in: the pooled rows, the trade-offs and the answers to the request as a
// run of the joined blocks gives them, and the coming rows' deliveries at the answered taus. The
// series searched are dropped after.
void AnswerPool(CataloguePool& pool, const ResultsRequest& request);

}  // namespace sf
