#pragma once

#include <QGridLayout>
#include <QScrollArea>

#include "ui/completed_run.h"

namespace sf::ui {

// How a run was made, out of the way of the figures: the model or the sales history, the boxes
// as typed, the random sequence and the options.
class ScenarioPage : public QScrollArea {
    Q_OBJECT

  public:
    ScenarioPage();

    void Show(const CompletedRun& run);

  private:
    QGridLayout* pairs_ = nullptr;
};

}  // namespace sf::ui
