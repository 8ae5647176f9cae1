#pragma once

#include <array>
#include <string>
#include <string_view>

#include "state/run_inputs.h"

namespace sf {

// The name by which the batch command's options ("--" and the key) and scenario files call
// each box of the form, in the form's order.
struct BoxKey {
    std::string_view key;
    std::string RunInputs::*text;
};

inline constexpr std::array<BoxKey, 12> kBoxKeys = {{
    {"sales-points", &RunInputs::Endpointnumber},
    {"periods", &RunInputs::Periodnumber},
    {"init-periods", &RunInputs::periodsforinitialization},
    {"alpha-beta-periods", &RunInputs::periodsforalphabeta},
    {"warm-up", &RunInputs::warmuptx},
    {"horizon", &RunInputs::horizontx},
    {"tau", &RunInputs::tau_tx},
    {"p1-low", &RunInputs::p1low},
    {"p1-up", &RunInputs::p1up},
    {"p2-low", &RunInputs::p2low},
    {"p2-up", &RunInputs::p2up},
    {"p3", &RunInputs::p3},
}};

}  // namespace sf
