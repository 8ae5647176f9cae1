#include "cli/results_output.h"

#include "cli/results_summary.h"
#include "results/export_folder.h"
#include "results/export_tables.h"
#include "runtime/run_error.h"
#include "runtime/shown_text.h"

namespace sf {

bool DeliverResults(const RunState& state, const CliOptions& options, int run,
                    const std::vector<std::string>& warnings, const std::vector<std::string>& notes,
                    const std::string& scenario,
                    std::ostream& out, std::ostream& err) {
    const ResultsCliOptions& asked = options.results;
    const bool lastRun = run == options.runs;
    const bool exportNow = asked.exportFolder && lastRun;
    const bool nextNow = asked.next && lastRun;
    if (!asked.summary && !exportNow && !nextNow) {
        return true;
    }
    const RunResults results = ComputeResults(state, asked.request);
    if (asked.summary) {
        // With --next, stdout holds next.csv alone.
        (asked.next ? err : out) << ResultsSummary(results, warnings.size(), notes) << std::flush;
    }
    if (nextNow) {
        out << NextCsv(results) << std::flush;
    }
    if (exportNow) {
        RunRecord record;
        record.inputs = options.inputs;
        record.scenario = scenario;
        record.seed = asked.seed;
        record.run = run;
        record.options = options.run;
        record.request = asked.request;
        std::error_code ignored;
        record.reportPath = std::filesystem::absolute(options.output, ignored);
        record.warnings = warnings;
        record.notes = notes;
        try {
            const std::string note = WriteExportFolder(*asked.exportFolder, results, record);
            if (!note.empty()) {
                err << ShownEscaped(note) << '\n';
            }
        } catch (const RunError& error) {
            err << ShownEscaped(error.what()) << '\n';
            return false;
        }
    }
    return true;
}

}  // namespace sf
