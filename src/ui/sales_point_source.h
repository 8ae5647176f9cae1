#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "results/run_results.h"
#include "runtime/number_locale.h"
#include "ui/completed_run.h"

namespace sf::ui {

// The results one sales point's charts are drawn from and its place in them; no results, and
// why, where they cannot be had.
struct SalesPointResults {
    std::shared_ptr<const RunResults> results;
    int at = 0;
    QString problem;
};

// Gives a sales point's results by its number in the run.
using SalesPointSource = std::function<SalesPointResults(int salesPoint)>;

// Where a run's sales point series come from: a catalogue run of this start computes the sales
// point again, alone on its sales history with the run's options (the same series it had in the
// catalogue), so that the window need not keep every series; any other run has its own.
SalesPointSource SalesPointSourceOf(std::shared_ptr<const CompletedRun> run,
                                    const NumberLocale& locale);

}  // namespace sf::ui
