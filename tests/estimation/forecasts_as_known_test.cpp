#include "estimation/forecasts_as_known.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "as_known_reference.h"
#include "csv_reading.h"
#include "estimation/lane_kernel.h"
#include "estimation/smoothing.h"
#include "run_state_comparison.h"
#include "runtime/kernel_set.h"

namespace sf {
namespace {

constexpr int kSalesPoints = 9;  // a full set of lanes and one lane of a second
constexpr int kInitPeriods = 3;
constexpr int kPeriods = 12;

// A state as the rolling forecast leaves it, as far as the replays read it: demand, the start
// values and a different pair of constants at every period and sales point, some outside 0..1.
std::unique_ptr<RunState> HandState(int horizon, int alphaBetaPeriods) {
    auto state = std::make_unique<RunState>();
    state->salesPointCount = kSalesPoints;
    state->initPeriods = kInitPeriods;
    state->alphaBetaPeriods = static_cast<std::int16_t>(alphaBetaPeriods);
    state->horizon = static_cast<std::int16_t>(horizon);
    state->periodNumber = kPeriods;
    for (int sp = 1; sp <= kSalesPoints; ++sp) {
        state->initialMu[sp] = 12.0 + sp;
        state->initialSigma[sp] = 2.0 + 0.1 * sp;
        state->mu(sp, kInitPeriods) = state->initialMu[sp];
        state->mad(sp, kInitPeriods) = MadFromSigma(state->initialSigma[sp]);
        state->sigma(sp, kInitPeriods) = SigmaFromMad(state->mad(sp, kInitPeriods));
        for (int t = 1; t <= kPeriods; ++t) {
            state->actualDemand(sp, t) = 10.0 + (sp * 7 + t * 13) % 11;
            state->alphaUsed(sp, t) = 0.09 * t - 0.02 * sp;
            state->betaUsed(sp, t) = 1.05 - 0.07 * t + 0.01 * sp;
        }
    }
    return state;
}

// The decision period and the end of the replay of the first rolling period, and how both move
// with it, are the wiring: the reference replays the criteria for exactly these. The coming
// periods after P, up to the one decided at P, go on in the same way.
TEST(ForecastsAsKnown, EachRollingPeriodTakesTheCriteriaOfItsDecisionPeriod) {
    const struct {
        const char* what;
        int horizon;
        int alphaBetaPeriods;
        int firstRolling;  // S + A + H + 1
        int decisionLag;   // t - d
        int endLag;        // t - the end of the replay
    } cases[] = {
        {"H = 0: the forecast of the period before", 0, 2, 6, 1, 1},
        {"H = 0, A = 0: the first decision at S, the start values", 0, 0, 4, 1, 1},
        {"H = 1", 1, 2, 7, 1, 0},
        {"H = 2", 2, 1, 7, 2, 0},
        {"H = 3, A = 0", 3, 0, 7, 3, 0},
    };
    for (const auto& c : cases) {
        for (const NamedLaneKernel& kernel : LaneKernels().Supported()) {
            for (const int threads : {1, 2}) {
                SCOPED_TRACE(std::string(c.what) + ", " + kernel.name + ", threads " +
                             std::to_string(threads));
                auto state = HandState(c.horizon, c.alphaBetaPeriods);
                ForecastsAsKnown(*state, LaneOptions{kernel.name, threads});
                AsKnownReference reference(*state);
                for (int sp = 1; sp <= kSalesPoints; ++sp) {
                    for (int t = 1; t <= kPeriods + c.decisionLag + 1; ++t) {
                        const bool coming = t > kPeriods;
                        const int column = coming ? t - kPeriods : t;
                        const double forecast = (coming ? state->comingForecast
                                                        : state->forecastAsForecast)(sp, column);
                        const double sigma =
                            (coming ? state->comingSigma : state->sigmaAsForecast)(sp, column);
                        // Nothing before the rolling stretch, nor after the period decided at P.
                        if (t < c.firstRolling || t > kPeriods + c.decisionLag) {
                            ASSERT_EQ(forecast, 0.0) << t;
                            ASSERT_EQ(sigma, 0.0) << t;
                            continue;
                        }
                        const KnownForecast expected =
                            reference.At(sp, t - c.decisionLag, t - c.endLag);
                        ASSERT_TRUE(SameBits(forecast, expected.forecast)) << sp << ", " << t;
                        ASSERT_TRUE(SameBits(sigma, expected.sigma)) << sp << ", " << t;
                    }
                }
                // Nothing else in the state changed.
                for (Matrix* written : {&state->forecastAsForecast, &state->sigmaAsForecast,
                                        &state->comingForecast, &state->comingSigma}) {
                    *written = Matrix();
                }
                EXPECT_EQ(FirstDifference(*state, *HandState(c.horizon, c.alphaBetaPeriods)), "");
            }
        }
    }
    // Windows that cover every period: nothing to write.
    auto state = HandState(1, kPeriods);
    ForecastsAsKnown(*state);
    EXPECT_EQ(FirstDifference(*state, *HandState(1, kPeriods)), "");
}

// The replay written out for one sales point, each series H periods behind itself: the forecast
// and sigma at end with the constants alpha and beta over S + 1..end. Only demand up to end - H
// enters, so it needs no matrix beyond P.
KnownForecast HandReplay(const RunState& state, int sp, double alpha, double beta, int end) {
    const int h = state.horizon;
    std::vector<double> mu(static_cast<std::size_t>(end) + 1, state.initialMu[sp]);
    std::vector<double> mad(mu.size(), MadFromSigma(state.initialSigma[sp]));
    for (int t = state.initPeriods + 1 + h; t <= end; ++t) {
        mu[t] = SmoothedStep(SmoothingWeight(t, alpha), mu[t - h], state.actualDemand(sp, t - h));
    }
    for (int t = state.initPeriods + 1 + h; t <= end; ++t) {
        const double deviation = std::fabs(state.actualDemand(sp, t - h) - mu[t - h]);
        mad[t] = SmoothedStep(SmoothingWeight(t, beta), mad[t - h], deviation);
    }
    return {mu[end], SigmaFromMad(mad[end])};
}

// At P = 600 the coming periods lie beyond the matrices: they are kept counted from P and come
// out as the replay written out gives them, the last rolling periods too.
TEST(ForecastsAsKnown, TheComingPeriodsOfTheLongestRunGoBeyondPeriod600) {
    for (const int horizon : {0, 1, 3}) {
        SCOPED_TRACE("H = " + std::to_string(horizon));
        auto state = std::make_unique<RunState>();
        state->salesPointCount = 2;
        state->initPeriods = kInitPeriods;
        state->horizon = static_cast<std::int16_t>(horizon);
        state->periodNumber = kMaxPeriods;
        for (int sp = 1; sp <= 2; ++sp) {
            state->initialMu[sp] = 12.0 + sp;
            state->initialSigma[sp] = 2.0 + 0.1 * sp;
            state->mu(sp, kInitPeriods) = state->initialMu[sp];
            state->sigma(sp, kInitPeriods) = state->initialSigma[sp];
            for (int t = 1; t <= kMaxPeriods; ++t) {
                state->actualDemand(sp, t) = 10.0 + (sp * 7 + t * 13) % 11;
                state->alphaUsed(sp, t) = 0.2 + 0.05 * ((t * 7 + sp) % 10);
                state->betaUsed(sp, t) = 0.1 + 0.08 * ((t * 3 + sp) % 10);
            }
        }
        ForecastsAsKnown(*state);
        const int lag = std::max(horizon, 1);
        for (int sp = 1; sp <= 2; ++sp) {
            for (int t = kMaxPeriods - 2; t <= kMaxPeriods + lag + 1; ++t) {
                const bool coming = t > kMaxPeriods;
                const int column = coming ? t - kMaxPeriods : t;
                const double forecast =
                    (coming ? state->comingForecast : state->forecastAsForecast)(sp, column);
                const double sigma =
                    (coming ? state->comingSigma : state->sigmaAsForecast)(sp, column);
                if (t > kMaxPeriods + lag) {  // decided after P: unknown
                    EXPECT_EQ(forecast, 0.0);
                    EXPECT_EQ(sigma, 0.0);
                    continue;
                }
                const int d = t - lag;
                const KnownForecast expected = HandReplay(*state, sp, state->alphaUsed(sp, d),
                                                          state->betaUsed(sp, d), d + horizon);
                EXPECT_TRUE(SameBits(forecast, expected.forecast)) << sp << ", " << t;
                EXPECT_TRUE(SameBits(sigma, expected.sigma)) << sp << ", " << t;
            }
        }
    }
}

}  // namespace
}  // namespace sf
