#pragma once

#include <QString>
#include <vector>

#include "results/figures.h"
#include "ui/completed_run.h"

namespace sf::ui {

struct DescriptionItem {
    QString label;
    QString value;
    bool wide = false;  // takes a line of its own
};

// How the run was made: the model, the box texts as typed, the random sequence and the options.
std::vector<DescriptionItem> ScenarioItems(const CompletedRun& run);

// The run's totals over every sales point, in the user's locale.
std::vector<DescriptionItem> TotalItems(const Figures& all);

}  // namespace sf::ui
