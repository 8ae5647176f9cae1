#include "ui/tradeoff_boxes.h"

#include "results/request_rules.h"
#include "ui/screen_numbers.h"

namespace sf::ui {
namespace {

QString Refusal(const QString& box, const QString& text, const NumberRule& rule) {
    return QStringLiteral("%1: \"%2\" is not %3.")
        .arg(box, text,
             QString::fromUtf8(rule.wanted.data(), static_cast<qsizetype>(rule.wanted.size())));
}

}  // namespace

TradeoffQuestions ReadTradeoffBoxes(const QString& targetFillRate, const QString& lostSaleCost,
                                    const QString& returnCost) {
    TradeoffQuestions questions;
    if (const QString text = targetFillRate.trimmed(); !text.isEmpty()) {
        questions.request.targetFillRate = Taken(kTargetFillRateRule, ScreenNumberFromText(text));
        if (!questions.request.targetFillRate) {
            questions.targetProblem =
                Refusal(QStringLiteral("Target fill rate"), text, kTargetFillRateRule);
        }
    }
    const QString lostText = lostSaleCost.trimmed();
    const QString returnText = returnCost.trimmed();
    if (lostText.isEmpty() && returnText.isEmpty()) {
        return questions;
    }
    const std::optional<double> lost = Taken(kOutcomeCostRule, ScreenNumberFromText(lostText));
    const std::optional<double> returned =
        Taken(kOutcomeCostRule, ScreenNumberFromText(returnText));
    if (lostText.isEmpty() || returnText.isEmpty()) {
        questions.costProblem = QStringLiteral("Give both costs to find the cheapest τ.");
    } else if (!lost) {
        questions.costProblem =
            Refusal(QStringLiteral("Cost of a lost sale"), lostText, kOutcomeCostRule);
    } else if (!returned) {
        questions.costProblem =
            Refusal(QStringLiteral("Cost of a return"), returnText, kOutcomeCostRule);
    } else {
        questions.request.costs = OutcomeCosts{*lost, *returned};
    }
    return questions;
}

QString TargetAnswerText(const std::optional<TargetAnswer>& target, const TargetRate& rate) {
    if (!target) {
        return QStringLiteral("Type a target to see the smallest τ that reaches it.");
    }
    if (!target->tau) {
        return QStringLiteral("Not reached: ") + QString::fromStdString(target->note);
    }
    QString text =
        QStringLiteral("τ = %1 reaches a %2 of %3")
            .arg(ScreenTau(*target->tau),
                 QString::fromUtf8(rate.name.data(), static_cast<qsizetype>(rate.name.size())),
                 ScreenNumber(target->rate, kRateDecimals));
    if (!target->note.empty()) {
        text += QStringLiteral(" (%1)").arg(QString::fromStdString(target->note));
    }
    return text;
}

QString CostAnswerText(const std::optional<CostAnswer>& cheapest, bool costsAsked) {
    if (!cheapest) {
        return costsAsked ? QStringLiteral("The cost of every τ of the grid is too large to hold.")
                          : QStringLiteral("Type both costs to see the cheapest τ of the grid.");
    }
    QString text = QStringLiteral("The cheapest τ of the grid is %1 (cost %2)")
                       .arg(ScreenTau(cheapest->tau), ScreenSum(cheapest->cost));
    if (!cheapest->note.empty()) {
        text += QStringLiteral("; %1").arg(QString::fromStdString(cheapest->note));
    }
    return text + QStringLiteral(".");
}

QString CostTauText(const std::optional<TargetAnswer>& costTarget) {
    if (!costTarget) {
        return QString();
    }
    return QStringLiteral(" Cost τ, whose cycle service level reaches cl / (cl + cr) = %1: %2")
        .arg(ScreenNumber(costTarget->target, kRateDecimals),
             costTarget->tau
                 ? ScreenTau(*costTarget->tau)
                 : QStringLiteral("none (%1)").arg(QString::fromStdString(costTarget->note)));
}

}  // namespace sf::ui
