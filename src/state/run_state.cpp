#include "state/run_state.h"

#include <algorithm>

namespace sf {

void Matrix::Clear() {
    std::fill_n(cells_.get(), kSalesPointSlots * kPeriodSlots, 0.0);
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
    lineText.clear();
    cellText.clear();
}

}  // namespace sf
