#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "results/run_health.h"
#include "results/run_json_keys.h"
#include "results/run_results.h"
#include "runtime/uniform_source.h"
#include "state/run_inputs.h"
#include "state/run_options.h"

namespace sf {

// How a run was made, as run.json tells it beside the results.
struct RunRecord {
    RunInputs inputs;  // the box texts as typed and the model
    // The scenario file's text of the run, which the front end renders: run.json holds it as
    // it is, so that it can be given back as a scenario. Empty: none could be kept.
    std::string scenario;
    std::uint32_t seed = kDefaultSeed;
    int run = 1;  // which run of the program start: the random sequence carries on from run to run
    RunOptions options;
    ResultsRequest request;
    std::filesystem::path reportPath;
    std::vector<std::string> warnings;  // as the front end showed them
    std::vector<std::string> notes;     // what the results should be read with
    bool seriesLeftOut = false;         // a catalogue run exports series.csv only when asked
    // For a shard of a catalogue: "K/N", and its health, from which the joined shards' warnings
    // and notes are those of the whole.
    std::optional<std::pair<std::string, RunHealth>> shard;
};

// The record of a run as both front ends begin it: the boxes and model, the options, the seed
// and which run of the start it is, the report's path (absolute, so that run.json names it
// wherever it is read) and the scenario text. The request, the warnings and the notes are the
// front end's to add as it comes to them.
RunRecord RecordOfRun(RunInputs inputs, const RunOptions& options, std::uint32_t seed, int run,
                      const std::filesystem::path& reportPath, std::string scenario);

// run.json: the program version, the record, the figures of the sound sales points and of all
// of them per evaluation, and the answers to a target fill rate and to costs; the coming periods
// too in the form of folders written before.
std::string RunJson(const RunResults& results, const RunRecord& record, RunJsonForm form);
std::string RunJson(const RunResults& results, const RunRecord& record);

// The members of run.json that pool the sales points, as one JSON object: their figures
// ("totals") and the cheapest grid tau ("cheapest_tau"), as RunJson writes them.
std::string PooledRunJsonMembers(const RunResults& results);

}  // namespace sf
