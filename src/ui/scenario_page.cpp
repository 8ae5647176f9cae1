#include "ui/scenario_page.h"

#include <QVBoxLayout>

#include "ui/run_description.h"
#include "ui/run_labels.h"

namespace sf::ui {
namespace {

// Label and value pairs side by side.
constexpr int kScenarioPairsPerLine = 3;

}  // namespace

ScenarioPage::ScenarioPage() {
    auto* scenario = new QWidget;
    scenario->setObjectName(QStringLiteral("Scenario"));
    auto* layout = new QVBoxLayout(scenario);
    pairs_ = new QGridLayout;
    layout->addLayout(pairs_);
    layout->addStretch(1);
    setWidget(scenario);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
}

void ScenarioPage::Show(const CompletedRun& run) {
    FillPairs(*pairs_, ScenarioItems(run), kScenarioPairsPerLine);
}

}  // namespace sf::ui
