#pragma once

#include <optional>
#include <string>

#include "state/demand_model.h"
#include "state/sales_history.h"

namespace sf {

// The text of every box of the window as the user typed it, and the selected model.
struct RunInputs {
    std::string Endpointnumber;
    std::string Periodnumber;
    std::string periodsforinitialization;
    std::string periodsforalphabeta;
    std::string warmuptx;
    std::string horizontx;
    std::string tau_tx;
    std::string p1low = "10";
    std::string p1up = "30";
    std::string p2low;
    std::string p2up;
    std::string p3;
    DemandModel model = DemandModel::loga;
    // When present, its demand replaces the model's and its counts the two count boxes.
    std::optional<SalesHistory> history;
};

}  // namespace sf
