#include "state/run_state.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace sf {
namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

void Matrix::Clear() {
    std::fill_n(cells_, CellsFor(periodSlots_), 0.0);
}

MatrixBlock::MatrixBlock(int matrices, int periodSlots)
    : matrices_(matrices), matrixCells_(Matrix::CellsFor(periodSlots)) {
    const std::size_t bytes = static_cast<std::size_t>(matrices) * matrixCells_ * sizeof(double);
    const std::size_t pages = (bytes + kLargePage - 1) / kLargePage;
    void* block = std::aligned_alloc(kLargePage, pages * kLargePage);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    cells_.reset(static_cast<double*>(block));
#ifdef MADV_HUGEPAGE
    madvise(block, pages * kLargePage, MADV_HUGEPAGE);  // a hint: without it, small pages serve
#endif
    std::fill_n(cells_.get(), static_cast<std::size_t>(matrices) * matrixCells_, 0.0);
}

double* MatrixBlock::Next() {
    if (taken_ == matrices_) {
        BreakInvariant("a run state takes more matrices from its block than it holds");
    }
    return cells_.get() + static_cast<std::size_t>(taken_++) * matrixCells_;
}

void MatrixBlock::Free::operator()(double* cells) const {
    std::free(cells);
}

void RunState::Clear() {
    periodNumber = initPeriods = alphaBetaPeriods = warmUp = horizon = salesPointCount = 0;
    tau = 0.0;
    boundedConstants = false;
    demandRecorded = false;
    limits = ModelLimits{};
    model = DemandModel::loga;
    salesPoint = period = 0;
    squareSum = totalLostSale = totalReturn = totalSales = 0.0;
    for (Vector* vector : {&modelA, &modelC, &modelMu, &modelPhi, &modelSigma, &initialMu,
                           &initialSigma, &initialAlpha, &initialBeta, &alphaCriterion,
                           &betaCriterion, &lostSaleSum, &returnedSum, &salesSum}) {
        vector->fill(0.0);
    }
    for (Matrix* matrix :
         {&demandMean, &actualDemand, &mu, &mad, &sigma, &muSquaredError, &madSquaredError, &alpha,
          &beta, &delivery, &lostSale, &returned, &sales, &alphaUsed, &betaUsed,
          &forecastAsForecast, &sigmaAsForecast, &comingForecast, &comingSigma}) {
        matrix->Clear();
    }
    salesPointNames.clear();
    periodDates.clear();
    season.Clear();
    lineText.clear();
    cellText.clear();
}

}  // namespace sf
