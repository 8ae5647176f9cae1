#pragma once

#include <memory>

#include "estimation/objectives.h"
#include "state/run_state.h"

namespace sf {

// The forecast and sigma of a period as known at a decision period, from the criteria
// themselves: AlphaObjective and BetaObjective run with the constants the decision period used
// over S + 1..end on a scratch state that holds the run's demand and start values.
struct KnownForecast {
    double forecast = 0.0;
    double sigma = 0.0;
};

class AsKnownReference {
  public:
    explicit AsKnownReference(const RunState& run) : run_(run) {
        scratch_->initPeriods = run.initPeriods;
        scratch_->horizon = run.horizon;
        const int s = run.initPeriods;
        for (int sp = 1; sp <= run.salesPointCount; ++sp) {
            scratch_->initialMu[sp] = run.initialMu[sp];
            scratch_->initialSigma[sp] = run.initialSigma[sp];
            scratch_->mu(sp, s) = run.mu(sp, s);
            scratch_->sigma(sp, s) = run.sigma(sp, s);
            for (int t = 1; t <= run.periodNumber; ++t) {
                scratch_->actualDemand(sp, t) = run.actualDemand(sp, t);
            }
        }
    }

    // The values at end of the replay with the constants of period decision.
    KnownForecast At(int salesPoint, int decision, int end) {
        AlphaObjective(*scratch_, run_.alphaUsed(salesPoint, decision), salesPoint, end);
        BetaObjective(*scratch_, run_.betaUsed(salesPoint, decision), salesPoint, end);
        return {scratch_->mu(salesPoint, end), scratch_->sigma(salesPoint, end)};
    }

  private:
    const RunState& run_;
    std::unique_ptr<RunState> scratch_ = std::make_unique<RunState>();
};

}  // namespace sf
