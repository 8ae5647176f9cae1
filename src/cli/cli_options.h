#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/results_options.h"
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
};

// Reads the command line. Empty, with the reason in problem, when it cannot be used.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& arguments,
                                          std::string& problem);

std::string CliUsage();

}  // namespace sf
