#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/results_options.h"
#include "scenario/scenario.h"
#include "state/run_inputs.h"
#include "state/run_options.h"

namespace sf {

struct CliOptions {
    RunInputs inputs;
    RunOptions run;
    int runs = 1;
    std::filesystem::path output = "out.txt";
    std::optional<std::filesystem::path> demand;  // a sales history in place of the models
    bool help = false;
    ResultsCliOptions results;
    // Scenario files: --scenario is read beneath the options beside it; --save-scenario keeps
    // the scenario as given before the runs.
    std::filesystem::path scenario;
    std::filesystem::path saveScenario;
    bool version = false;
};

// Reads the command line over the boxes, model and options of beneath, which the options given
// replace wherever they stand. Empty, with the reason in problem, when it cannot be used.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& arguments,
                                          std::string& problem, const Scenario& beneath = {});

std::string CliUsage();

}  // namespace sf
