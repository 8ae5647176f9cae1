#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "results/run_results.h"
#include "runtime/uniform_source.h"

namespace sf {

// The options about a run's results and its random sequence.
struct ResultsCliOptions {
    std::optional<std::filesystem::path> exportFolder;
    ResultsRequest request;  // its costs are set by FinishResultsOptions
    std::optional<double> lostSaleCost;
    std::optional<double> returnCost;
    bool summary = false;
    bool next = false;          // next.csv alone on stdout
    bool exportSeries = false;  // series.csv of a catalogue run, which is left out without it
    std::uint32_t seed = kDefaultSeed;
};

enum class OptionUse { notMine, taken, refused };

// --export, --tau-grid, --target-fill-rate, --target-service-level, --lost-sale-cost,
// --return-cost, --seed and --check-from with their value; refused with the reason in problem.
OptionUse TakeResultsOption(const std::string& option, const std::string& value,
                            ResultsCliOptions& options, std::string& problem);

// Once all options are read: puts the costs into the request; the reason when the options
// cannot be used together.
std::optional<std::string> FinishResultsOptions(ResultsCliOptions& options);

}  // namespace sf
