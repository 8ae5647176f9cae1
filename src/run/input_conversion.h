#pragma once

#include <string>

#include "runtime/number_locale.h"
#include "runtime/run_error.h"
#include "state/box_keys.h"
#include "state/run_inputs.h"
#include "state/run_options.h"
#include "state/run_state.h"

namespace sf {

// A box the run cannot use: the message names it as the front end does, box is its text among
// the inputs, so that a front end can take the user to it.
class InputError : public RunError {
  public:
    InputError(const std::string& message, std::string RunInputs::*box)
        : RunError(message), box(box) {}

    std::string RunInputs::*box;
};

// Converts every box in the run's order and checks the values that would otherwise stop a run
// part-way; writes them into the state. The first bad box is reported as an InputError that
// names it by naming, before the report file is touched. A block of a sales history's sales
// points runs them alone, as a file holding only them would.
void ConvertInputs(const RunInputs& inputs, const NumberLocale& locale, BoxNaming naming,
                   RunState& state, SalesPointBlock block = {});

// Refuses a season length the converted inputs cannot hold: 1, or S below 2M + 1 (named as the
// box of S, where the front end takes the user).
void CheckSeasonLength(int length, const RunInputs& inputs, const NumberLocale& locale,
                       BoxNaming naming, const RunState& state);

}  // namespace sf
