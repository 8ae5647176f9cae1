#include "results/run_record.h"

namespace sf {

RunRecord RecordOfRun(RunInputs inputs, const RunOptions& options, std::uint32_t seed, int run,
                      const std::filesystem::path& reportPath, std::string scenario) {
    RunRecord record;
    record.inputs = std::move(inputs);
    record.scenario = std::move(scenario);
    record.seed = seed;
    record.run = run;
    record.options = options;
    // Only a process without a current folder fails here; run.json then names no report.
    std::error_code ignored;
    record.reportPath = std::filesystem::absolute(reportPath, ignored);
    return record;
}

}  // namespace sf
