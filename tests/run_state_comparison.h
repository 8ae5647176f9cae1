#pragma once

#include <cstring>
#include <string>

#include "state/run_state.h"

// The first member in which two run states differ, bit for bit; empty when they are the same.
inline std::string FirstDifference(const sf::RunState& a, const sf::RunState& b) {
    using sf::Matrix;
    using sf::RunState;
    using sf::Vector;
    auto same = [](double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    const struct {
        const char* name;
        const Matrix RunState::*member;
    } matrices[] = {
        {"demandMean", &RunState::demandMean},
        {"actualDemand", &RunState::actualDemand},
        {"mu", &RunState::mu},
        {"mad", &RunState::mad},
        {"sigma", &RunState::sigma},
        {"muSquaredError", &RunState::muSquaredError},
        {"madSquaredError", &RunState::madSquaredError},
        {"alpha", &RunState::alpha},
        {"beta", &RunState::beta},
        {"delivery", &RunState::delivery},
        {"lostSale", &RunState::lostSale},
        {"returned", &RunState::returned},
        {"sales", &RunState::sales},
        {"alphaUsed", &RunState::alphaUsed},
        {"betaUsed", &RunState::betaUsed},
        {"forecastAsForecast", &RunState::forecastAsForecast},
        {"sigmaAsForecast", &RunState::sigmaAsForecast},
        {"comingForecast", &RunState::comingForecast},
        {"comingSigma", &RunState::comingSigma},
    };
    for (const auto& matrix : matrices) {
        for (int sp = 0; sp < sf::kSalesPointSlots; ++sp) {
            for (int t = 0; t < sf::kPeriodSlots; ++t) {
                if (!same((a.*matrix.member)(sp, t), (b.*matrix.member)(sp, t))) {
                    return std::string(matrix.name) + "(" + std::to_string(sp) + ", " +
                           std::to_string(t) + ")";
                }
            }
        }
    }
    const struct {
        const char* name;
        const Vector RunState::*member;
    } vectors[] = {
        {"modelA", &RunState::modelA},
        {"modelC", &RunState::modelC},
        {"modelMu", &RunState::modelMu},
        {"modelPhi", &RunState::modelPhi},
        {"modelSigma", &RunState::modelSigma},
        {"initialMu", &RunState::initialMu},
        {"initialSigma", &RunState::initialSigma},
        {"initialAlpha", &RunState::initialAlpha},
        {"initialBeta", &RunState::initialBeta},
        {"alphaCriterion", &RunState::alphaCriterion},
        {"betaCriterion", &RunState::betaCriterion},
        {"lostSaleSum", &RunState::lostSaleSum},
        {"returnedSum", &RunState::returnedSum},
        {"salesSum", &RunState::salesSum},
    };
    for (const auto& vector : vectors) {
        for (int sp = 0; sp < sf::kSalesPointSlots; ++sp) {
            if (!same((a.*vector.member)[sp], (b.*vector.member)[sp])) {
                return std::string(vector.name) + "[" + std::to_string(sp) + "]";
            }
        }
    }
    const struct {
        const char* name;
        double RunState::*member;
    } scalars[] = {
        {"tau", &RunState::tau},
        {"squareSum", &RunState::squareSum},
        {"totalLostSale", &RunState::totalLostSale},
        {"totalReturn", &RunState::totalReturn},
        {"totalSales", &RunState::totalSales},
    };
    for (const auto& scalar : scalars) {
        if (!same(a.*scalar.member, b.*scalar.member)) {
            return scalar.name;
        }
    }
    if (a.salesPoint != b.salesPoint || a.period != b.period) {
        return "the loop counters";
    }
    if (a.lineText != b.lineText || a.cellText != b.cellText) {
        return "the text buffers";
    }
    return "";
}
