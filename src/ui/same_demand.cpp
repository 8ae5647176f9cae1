#include "ui/same_demand.h"

#include <QStringList>
#include <string>

#include "state/demand_model.h"

namespace sf::ui {
namespace {

struct DemandBox {
    const char* words;
    std::string RunInputs::*text;
};

constexpr DemandBox kDemandBoxes[] = {
    {"the sales points", &RunInputs::Endpointnumber},
    {"the periods", &RunInputs::Periodnumber},
    {"the first parameter's lower limit", &RunInputs::p1low},
    {"the first parameter's upper limit", &RunInputs::p1up},
    {"the second parameter's lower limit", &RunInputs::p2low},
    {"the second parameter's upper limit", &RunInputs::p2up},
    {"the third parameter", &RunInputs::p3},
};

QString Differs(const char* words, const std::string& here, const std::string& there) {
    return QStringLiteral("%1 (%2 here, %3 in that run)")
        .arg(QString::fromUtf8(words),
             here.empty() ? QStringLiteral("empty") : QString::fromStdString(here),
             there.empty() ? QStringLiteral("empty") : QString::fromStdString(there));
}

}  // namespace

std::optional<QString> DemandDifference(const RunInputs& typed, const RunInputs& earlier) {
    if (typed.history.has_value() != earlier.history.has_value()) {
        return earlier.history ? QStringLiteral("the demand (that run read a sales history)")
                               : QStringLiteral("the demand (a sales history is in use here)");
    }
    if (typed.history) {
        // The file's demand is the demand; the boxes it fills follow from it.
        if (typed.history->salesPoints != earlier.history->salesPoints ||
            typed.history->periods != earlier.history->periods ||
            typed.history->demand != earlier.history->demand) {
            return Differs("the sales history", typed.history->name, earlier.history->name);
        }
        return std::nullopt;
    }
    QStringList differences;
    if (typed.model != earlier.model) {
        differences << Differs("the model", std::string(ModelRow(typed.model).name),
                               std::string(ModelRow(earlier.model).name));
    }
    for (const DemandBox& box : kDemandBoxes) {
        if (typed.*box.text != earlier.*box.text) {
            differences << Differs(box.words, typed.*box.text, earlier.*box.text);
        }
    }
    if (differences.isEmpty()) {
        return std::nullopt;
    }
    return differences.join(QStringLiteral(", "));
}

}  // namespace sf::ui
