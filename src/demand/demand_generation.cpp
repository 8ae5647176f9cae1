#include "demand/demand_generation.h"

#include <cmath>
#include <string>

#include "demand/random_variates.h"
#include "runtime/invariants.h"
#include "runtime/number_text.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

void CheckFiniteDemand(const RunState& state, int sp, int t) {
    if (!std::isfinite(state.actualDemand(sp, t))) {
        FailAt(sp, t, "the demand is too large for a number (it overflowed)");
    }
}

void DrawPoissonDemand(RunState& state, UniformSource& source, int sp, int t) {
    const double mean = state.demandMean(sp, t);
    if (!IsDrawablePoissonMean(mean) || std::isnan(mean)) {
        FailAt(sp, t,
               "the Poisson mean" + NumberText(mean, NumberLocale{}) +
                   "is above 709.78, too large to draw demand from");
    }
    try {
        state.actualDemand(sp, t) = PoissonVariate(mean, source);
    } catch (const RunError& error) {
        FailAt(sp, t, error.what());
    }
}

// v = a + c g(t), rounded with halves to even, capped at a / 2 below (c < 0) or 3a above.
double TrendMean(const RunState& state, int sp, int t) {
    const double a = state.modelA[sp];
    const double c = state.modelC[sp];
    double v = 0.0;
    switch (state.model) {
        case DemandModel::loga:
            v = a + c * std::log(t + 5.0);
            break;
        case DemandModel::sqrot:
            v = a + c * std::sqrt(t + 10.0);
            break;
        case DemandModel::linear:
            v = a + c * t;
            break;
        case DemandModel::t_tplusn: {
            const double n = state.limits.p3;
            if (n + t == 0.0) {
                FailAt(sp, t, "n + t is zero, so t/(t+n) cannot be formed");
            }
            v = a + (t * c) / (n + t);
            break;
        }
        case DemandModel::meanAR1:
        case DemandModel::AR1:
        case DemandModel::Normal:
            BreakInvariant("a trend mean asked of a model without a trend");
    }
    v = std::nearbyint(v);
    if (c < 0.0) {
        return v > a / 2.0 ? v : a / 2.0;
    }
    return v < 3.0 * a ? v : 3.0 * a;
}

void GenerateTrendDemand(RunState& state, UniformSource& source, int sp) {
    for (state.period = 1; state.period <= state.periodNumber; ++state.period) {
        const int t = state.period;
        state.demandMean(sp, t) = TrendMean(state, sp, t);
        DrawPoissonDemand(state, source, sp, t);
    }
}

void GenerateMeanAR1Demand(RunState& state, UniformSource& source, int sp) {
    const double mu = state.modelMu[sp];
    const double phi = state.modelPhi[sp];
    const double u = source.Next();
    state.demandMean(sp, 1) = u < 0.5 ? mu * 3.0 * phi : (mu / 2.0) * phi;
    for (state.period = 2; state.period <= state.periodNumber; ++state.period) {
        const int t = state.period;
        state.demandMean(sp, t) = (state.demandMean(sp, t - 1) - mu) * phi + mu;
    }
    for (state.period = 1; state.period <= state.periodNumber; ++state.period) {
        DrawPoissonDemand(state, source, sp, state.period);
    }
}

void GenerateAR1Demand(RunState& state, UniformSource& source, int sp) {
    const double mu = state.modelMu[sp];
    const double phi = state.modelPhi[sp];
    const double sigma = state.modelSigma[sp];
    state.actualDemand(sp, 1) = mu * phi;
    if (state.periodNumber >= 1) {
        CheckFiniteDemand(state, sp, 1);
    }
    for (state.period = 2; state.period <= state.periodNumber; ++state.period) {
        const int t = state.period;
        const double z = NormalVariate(source);
        state.actualDemand(sp, t) = (state.actualDemand(sp, t - 1) - mu) * phi + mu + z * sigma;
        CheckFiniteDemand(state, sp, t);
    }
}

void GenerateNormalDemand(RunState& state, UniformSource& source, int sp) {
    const double mu = state.modelMu[sp];
    const double sigma = state.modelSigma[sp];
    for (state.period = 1; state.period <= state.periodNumber; ++state.period) {
        const int t = state.period;
        const double z = NormalVariate(source);
        state.actualDemand(sp, t) = z * sigma + mu;
        CheckFiniteDemand(state, sp, t);
    }
}

}  // namespace

void DrawParameters(RunState& state, UniformSource& source) {
    const ModelLimits& limits = state.limits;
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        const double u1 = source.Next();
        const double first = limits.p1low + (limits.p1up - limits.p1low) * u1;
        const double u2 = source.Next();
        const double second = limits.p2low + (limits.p2up - limits.p2low) * u2;
        switch (state.model) {
            case DemandModel::loga:
            case DemandModel::sqrot:
            case DemandModel::linear:
            case DemandModel::t_tplusn:
                state.modelA[sp] = first;
                state.modelC[sp] = second;
                break;
            case DemandModel::meanAR1:
                state.modelMu[sp] = first;
                state.modelPhi[sp] = second;
                break;
            case DemandModel::AR1:
                state.modelMu[sp] = first;
                state.modelPhi[sp] = second;
                state.modelSigma[sp] = limits.p3;
                break;
            case DemandModel::Normal:
                state.modelMu[sp] = first;
                state.modelSigma[sp] = second;
                break;
        }
    }
}

void GenerateDemand(RunState& state, UniformSource& source) {
    for (state.salesPoint = 1; state.salesPoint <= state.salesPointCount; ++state.salesPoint) {
        const int sp = state.salesPoint;
        switch (state.model) {
            case DemandModel::meanAR1:
                GenerateMeanAR1Demand(state, source, sp);
                break;
            case DemandModel::AR1:
                GenerateAR1Demand(state, source, sp);
                break;
            case DemandModel::Normal:
                GenerateNormalDemand(state, source, sp);
                break;
            case DemandModel::loga:
            case DemandModel::sqrot:
            case DemandModel::linear:
            case DemandModel::t_tplusn:
                GenerateTrendDemand(state, source, sp);
                break;
        }
    }
}

}  // namespace sf
