#include "run/catalogue_pool.h"

#include <iterator>
#include <utility>

#include "results/tradeoff_kernel.h"
#include "runtime/kernel_set.h"

namespace sf {
namespace {

// What the searches of tau read of a sales point: AnswerTarget's trade-offs and the check's.
SalesPointSeries Searched(SalesPointSeries&& point) {
    SalesPointSeries kept;
    kept.demand = std::move(point.demand);
    for (const Evaluation evaluation : kEvaluations) {
        EvaluatedSeries& from =
            evaluation == Evaluation::asForecast ? point.asForecast : point.asReported;
        EvaluatedSeries& into =
            evaluation == Evaluation::asForecast ? kept.asForecast : kept.asReported;
        into.forecast = std::move(from.forecast);
        into.sigma = std::move(from.sigma);
    }
    return kept;
}

// The run's own numbers of the first block, which every block shares.
void TakeRunNumbers(RunSeries& into, const RunSeries& block) {
    into.periodNumber = block.periodNumber;
    into.horizon = block.horizon;
    into.tau = block.tau;
    into.outcomeWindow = block.outcomeWindow;
    into.rollingStretch = block.rollingStretch;
    into.comingPeriods = block.comingPeriods;
    into.dates = block.dates;
    into.season.length = block.season.length;
}

}  // namespace

FinishedBlock FinishBlock(RunResults&& block, const ResultsRequest& request, int first) {
    FinishedBlock finished;
    finished.first = first;
    finished.next = NextDeliveries(block);
    for (NextDelivery& row : finished.next) {
        row.salesPoint += first - 1;
    }
    const std::vector<double> lanes = TradeoffLanes(GridTaus(request.grid, block.series.tau));
    const std::size_t count = block.series.salesPoints.size();
    for (const Evaluation evaluation : kEvaluations) {
        finished.tradeoff[IndexOf(evaluation)] =
            BlockTradeoffSums(TradeoffKernels().Fastest(), block.series, evaluation,
                              block.figures.sound, lanes, 0, count);
    }
    finished.figures = std::move(block.figures);
    finished.proposals = std::move(block.proposals);
    finished.series = std::move(block.series);
    std::vector<SalesPointSeries> points = std::move(finished.series.salesPoints);
    finished.series.salesPoints.clear();
    if (SearchesTau(request)) {
        for (SalesPointSeries& point : points) {
            finished.series.salesPoints.push_back(Searched(std::move(point)));
        }
    }
    return finished;
}

void PoolBlock(CataloguePool& pool, FinishedBlock&& block) {
    RunSeries& series = pool.results.series;
    const bool firstBlock = series.blockSizes.empty();
    if (firstBlock) {
        TakeRunNumbers(series, block.series);
        series.firstSalesPoint = block.first;
    }
    const std::size_t before = pool.results.figures.sound.size();
    const std::size_t count = block.figures.sound.size();
    series.blockSizes.push_back(count);
    // Names are kept where any block has them; a block without gets empty ones.
    if (!block.series.names.empty()) {
        series.names.resize(before);
        block.series.names.resize(count);
        std::ranges::move(block.series.names, std::back_inserter(series.names));
    }
    std::ranges::move(block.series.salesPoints, std::back_inserter(series.salesPoints));
    std::ranges::move(block.series.season.indices, std::back_inserter(series.season.indices));
    BlockSums& sums = pool.blocks.emplace_back();
    sums.first = block.first;
    sums.count = static_cast<int>(count);
    for (std::size_t k = 0; k < pool.tradeoff.size(); ++k) {
        sums.sound[k] = block.figures.evaluations[k].soundSums;
        sums.all[k] = block.figures.evaluations[k].allSums;
        sums.tradeoff[k] = block.tradeoff[k];
    }
    PoolFigures(pool.results.figures, block.figures, firstBlock);
    for (std::size_t k = 0; k < pool.tradeoff.size(); ++k) {
        PoolTradeoffSums(pool.tradeoff[k], std::move(block.tradeoff[k]), firstBlock);
    }
    std::ranges::move(block.next, std::back_inserter(pool.next));
    std::ranges::move(block.proposals, std::back_inserter(pool.results.proposals));
}

void AnswerPool(CataloguePool& pool, const ResultsRequest& request) {
    RunResults& results = pool.results;
    if (!results.series.names.empty()) {
        results.series.names.resize(results.figures.sound.size());
    }
    FinishPooledFigures(results.figures);
    const std::vector<double> taus = GridTaus(request.grid, results.series.tau);
    for (const Evaluation evaluation : kEvaluations) {
        results.answers[IndexOf(evaluation)].tradeoff = TradeoffRows(
            pool.tradeoff[IndexOf(evaluation)], taus, results.series.tau, request.costs);
    }
    AnswerFromTradeoffs(results, request);
    DeliverAtAnsweredTaus(pool.next, DeliveryTaus(results));
    std::vector<SalesPointSeries>().swap(results.series.salesPoints);
}

}  // namespace sf
