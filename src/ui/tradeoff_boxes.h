#pragma once

#include <QString>
#include <optional>

#include "results/run_results.h"

namespace sf::ui {

// What the boxes of the trade-off page ask of a run, in the user's locale. A box that cannot be
// answered leaves its part of the request out and says why.
struct TradeoffQuestions {
    ResultsRequest request;
    std::optional<QString> targetProblem;
    std::optional<QString> costProblem;
};

// Empty boxes ask nothing; a cost asks only together with the other.
TradeoffQuestions ReadTradeoffBoxes(const QString& targetFillRate, const QString& lostSaleCost,
                                    const QString& returnCost);

// The answers in words, or what to type where nothing was asked.
QString TargetAnswerText(const std::optional<TargetAnswer>& target,
                         const TargetRate& rate = kFillRateTarget);
// costsAsked: both costs were typed, so no answer means no cost could be held.
// The cost tau after the cheapest: empty unless both costs are above 0.
QString CostTauText(const std::optional<TargetAnswer>& costTarget);

QString CostAnswerText(const std::optional<CostAnswer>& cheapest, bool costsAsked);

}  // namespace sf::ui
