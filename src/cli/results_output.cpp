#include "cli/results_output.h"

#include <algorithm>
#include <memory>

#include "cli/results_summary.h"
#include "results/export_folder.h"
#include "results/export_tables.h"
#include "results/next_deliveries.h"
#include "run/bounded_proposals.h"
#include "run/catalogue_run.h"
#include "run/input_conversion.h"
#include "run/run_driver.h"
#include "runtime/run_error.h"
#include "runtime/shown_text.h"
#include "state/period_stretches.h"

namespace sf {

std::optional<std::string> RefusedCheckFrom(const CliOptions& options, const NumberLocale& locale) {
    const std::optional<int> from = options.results.request.checkFrom;
    if (!from) {
        return std::nullopt;
    }
    const auto state = std::make_unique<RunState>(PeriodsToHold(options.inputs));
    try {
        ConvertInputs(options.inputs, locale, BoxNaming::options, *state,
                      {1, std::min(options.inputs.history ? options.inputs.history->salesPoints : 0,
                                   kMaxSalesPoints)});
    } catch (const InputError&) {
        return std::nullopt;
    }
    const std::optional<std::string> problem = CheckFromProblem(RollingStretch(*state), *from);
    return problem ? std::optional("--check-from " + *problem) : std::nullopt;
}

bool DeliverResults(const RunState& state, const CliOptions& options, int run,
                    const std::vector<std::string>& warnings,
                    const std::vector<std::string>& healthNotes, const std::string& scenario,
                    std::ostream& out, std::ostream& err) {
    const ResultsCliOptions& asked = options.results;
    const bool lastRun = run == options.runs;
    const bool exportNow = asked.exportFolder && lastRun;
    const bool nextNow = asked.next && lastRun;
    if (!asked.summary && !exportNow && !nextNow) {
        return true;
    }
    const RunResults results = CompleteResults(state, asked.request, options.run);
    return DeliverComputedResults(
        results, NextDeliveries(results), options, run, warnings, healthNotes, scenario, out, err,
        [&asked](const RunResults& complete, const std::vector<NextDelivery>&,
                 const RunRecord& record) {
            return WriteExportFolder(*asked.exportFolder, complete, record);
        });
}

bool DeliverComputedResults(const RunResults& results, const std::vector<NextDelivery>& next,
                            const CliOptions& options, int run,
                            const std::vector<std::string>& warnings,
                            const std::vector<std::string>& healthNotes,
                            const std::string& scenario, std::ostream& out, std::ostream& err,
                            const ExportWriting& writeExport) {
    const ResultsCliOptions& asked = options.results;
    const bool lastRun = run == options.runs;
    const bool exportNow = asked.exportFolder && lastRun;
    const bool nextNow = asked.next && lastRun;
    std::vector<std::string> notes = healthNotes;
    if (const std::optional<std::string> note = ProposalNote(results, next, "--bounded-constants");
        note && !options.run.boundedConstants) {
        notes.push_back(*note);
    }
    if (asked.summary) {
        // With --next, stdout holds next.csv alone.
        (asked.next ? err : out) << ResultsSummary(results, next, warnings.size(), notes)
                                 << std::flush;
    }
    if (nextNow) {
        out << NextCsv(results, next) << std::flush;
    }
    if (exportNow) {
        RunRecord record =
            RecordOfRun(options.inputs, options.run, asked.seed, run, options.output, scenario);
        record.request = asked.request;
        record.warnings = warnings;
        record.notes = notes;
        record.seriesLeftOut = IsCatalogue(options.inputs) && !asked.exportSeries;
        try {
            const std::string note = writeExport(results, next, record);
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
