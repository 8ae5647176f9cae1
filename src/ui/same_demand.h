#pragma once

#include <QString>
#include <optional>

#include "state/run_inputs.h"

namespace sf::ui {

// Whether a run with the boxes typed can draw the demand an earlier run drew from the same
// start of the random sequence: the counts, the model, its limits and the third parameter
// decide the demand, or the sales history in use. None when it can; else what differs, in
// words for the user: "the periods (120 here, 60 in that run)".
std::optional<QString> DemandDifference(const RunInputs& typed, const RunInputs& earlier);

}  // namespace sf::ui
