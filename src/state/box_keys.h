#pragma once

#include <array>
#include <string>
#include <string_view>

#include "runtime/invariants.h"
#include "state/run_inputs.h"

namespace sf {

// A box of the form: the name by which the batch command's options ("--" and the key) and
// scenario files call it, where its text is kept, the form's text box, and how messages name
// it. A limit box is named by the heading of its column and the parameter of its row
// ("Lower Limit of a"); the single box p3 by its parameter alone.
struct BoxKey {
    std::string_view key;
    std::string RunInputs::*text;
    std::string_view control;
    std::string_view label;
};

// In the form's order.
inline constexpr std::array<BoxKey, 12> kBoxKeys = {{
    {"sales-points", &RunInputs::Endpointnumber, "Endpointnumber", "Number of Sales Points"},
    {"periods", &RunInputs::Periodnumber, "Periodnumber", "Number of Periods"},
    {"init-periods", &RunInputs::periodsforinitialization, "periodsforinitialization",
     "# of periods used for estimating initial mu and sigma"},
    {"alpha-beta-periods", &RunInputs::periodsforalphabeta, "periodsforalphabeta",
     "# of periods used for estimating initial alpha and beta"},
    {"warm-up", &RunInputs::warmuptx, "warmuptx", "Warm-up period"},
    {"horizon", &RunInputs::horizontx, "horizontx", "Forecasting horizon"},
    {"tau", &RunInputs::tau_tx, "tau_tx", "Tau (τ)"},
    {"p1-low", &RunInputs::p1low, "p1low", "Lower Limit"},
    {"p1-up", &RunInputs::p1up, "p1up", "Upper Limit"},
    {"p2-low", &RunInputs::p2low, "p2low", "Lower Limit"},
    {"p2-up", &RunInputs::p2up, "p2up", "Upper Limit"},
    {"p3", &RunInputs::p3, "p3", ""},
}};

// How messages name a box: the window by the words on its label, the batch command by its
// option.
enum class BoxNaming { labels, options };

constexpr const BoxKey& BoxOf(std::string RunInputs::*text) {
    for (const BoxKey& box : kBoxKeys) {
        if (box.text == text) {
            return box;
        }
    }
    BreakInvariant("a text of RunInputs that no box holds");
}

// The batch command's option for a box, as "--tau".
inline std::string OptionOf(const BoxKey& box) {
    return "--" + std::string(box.key);
}

}  // namespace sf
