#pragma once

// The full-size run of the measurements: 100 sales points, 600 periods, S = 12, A = 12.
#include <string>
#include <string_view>

#include "state/run_inputs.h"
#include "state/run_observer.h"

namespace bench {

struct ModelCase {
    sf::DemandModel model;
    const char* p2low;
    const char* p2up;
    const char* p3;
};

// Limits that keep the demand near 20, as in the figures of the README.
inline constexpr ModelCase kModels[] = {
    {sf::DemandModel::loga, "0.5", "1.5", ""},    {sf::DemandModel::sqrot, "0.5", "1.5", ""},
    {sf::DemandModel::linear, "0", "0.02", ""},   {sf::DemandModel::t_tplusn, "2", "8", "5"},
    {sf::DemandModel::meanAR1, "0.3", "0.9", ""}, {sf::DemandModel::AR1, "0.3", "0.7", "3"},
    {sf::DemandModel::Normal, "1", "5", ""},
};

inline sf::RunInputs FullSize(const ModelCase& model, int horizon) {
    sf::RunInputs inputs;
    inputs.model = model.model;
    inputs.Endpointnumber = "100";
    inputs.Periodnumber = "600";
    inputs.periodsforinitialization = "12";
    inputs.periodsforalphabeta = "12";
    inputs.warmuptx = "0";
    inputs.horizontx = std::to_string(horizon);
    inputs.tau_tx = "0.5";
    inputs.p1low = "15";
    inputs.p1up = "25";
    inputs.p2low = model.p2low;
    inputs.p2up = model.p2up;
    inputs.p3 = model.p3;
    return inputs;
}

class SilentObserver : public sf::RunObserver {
  public:
    void ReportProgress(int) override {}
    void ShowNotice(std::string_view) override {}
    void ShowClosingMessage(std::string_view) override {}
    bool StopRequested() const override { return false; }
};

}  // namespace bench
