#pragma once

// The full-size run (100 sales points, 600 periods, S = 12, A = 12) of every model, with limits
// that keep the demand near 20: timed in bench/, checked in tests/.
#include <string>

#include "state/run_inputs.h"

struct FullSizeModel {
    sf::DemandModel model;
    const char* p2low;
    const char* p2up;
    const char* p3;
};

inline constexpr FullSizeModel kFullSizeModels[] = {
    {sf::DemandModel::loga, "0.5", "1.5", ""},    {sf::DemandModel::sqrot, "0.5", "1.5", ""},
    {sf::DemandModel::linear, "0", "0.02", ""},   {sf::DemandModel::t_tplusn, "2", "8", "5"},
    {sf::DemandModel::meanAR1, "0.3", "0.9", ""}, {sf::DemandModel::AR1, "0.3", "0.7", "3"},
    {sf::DemandModel::Normal, "1", "5", ""},
};

inline sf::RunInputs FullSizeInputs(const FullSizeModel& model, int horizon, const char* tau) {
    sf::RunInputs inputs;
    inputs.model = model.model;
    inputs.Endpointnumber = "100";
    inputs.Periodnumber = "600";
    inputs.periodsforinitialization = "12";
    inputs.periodsforalphabeta = "12";
    inputs.warmuptx = "0";
    inputs.horizontx = std::to_string(horizon);
    inputs.tau_tx = tau;
    inputs.p1low = "15";
    inputs.p1up = "25";
    inputs.p2low = model.p2low;
    inputs.p2up = model.p2up;
    inputs.p3 = model.p3;
    return inputs;
}
