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

// How the run was made: the model (or the sales history), the box texts as typed, the random
// sequence and the options.
std::vector<DescriptionItem> ScenarioItems(const CompletedRun& run);

// The scenario in one line, for a list of runs and the titles of charts:
// "loga, 20 × 120, S 12, A 12, H 1, τ 1, a 10 to 30, c 1 to 3".
QString ScenarioLine(const CompletedRun& run);

// Which demand a run had: "seed 5489, run 2", or the sales history's file name. Runs on the
// same demand say the same.
QString DemandLine(const CompletedRun& run);

// What the totals are over: the evaluation, its periods and the sales points left out.
QString TotalsDescription(const RunResults& results, Evaluation evaluation);

// Totals of a row of sales points, in the user's locale.
std::vector<DescriptionItem> TotalItems(const Figures& row);

}  // namespace sf::ui
