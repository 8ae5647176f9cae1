#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "report/report_sections.h"
#include "runtime/number_locale.h"
#include "runtime/report_file.h"
#include "state/run_options.h"
#include "state/run_state.h"

namespace sf {

// The report of one or more runs on consecutive sales points, as a file, and how many sales
// points it holds.
struct ReportPiece {
    std::filesystem::path path;
    int salesPoints = 0;
};

// Joins the reports of consecutive sales points, in their order, into the report of them all but
// its totals: the lines every report shares once, each matrix row the reports' rows side by side,
// the lost-sale rows report after report, numbered on. At most mostOpen (2 or more) reports are
// read at once; beyond that they are joined in rounds through hidden files in folder. Reports
// that end early (a run that stopped) are joined as far as every one of them goes: false then.
bool JoinReportLines(std::vector<ReportPiece> pieces, int periods, ReportFile& into,
                     const NumberLocale& locale, std::size_t mostOpen,
                     const std::filesystem::path& folder);

// The totals of the blocks' reports pooled: each block's sums added in block order.
ReportTotals PooledTotals(std::span<const ReportTotals> blocks);

// A run's message without the note that names where the lines of its report are: the catalogue
// removes that file, and says where its own report's lines are instead.
std::string WithoutReportNote(std::string message, const std::filesystem::path& report);

// The report of a catalogue: each block writes the report of its run alone to a hidden file beside
// it; once the blocks are done, their lines are joined into the catalogue's report.
class CatalogueReport {
  public:
    // Opens the report (a RunError when it cannot be created) before any block runs.
    CatalogueReport(const std::filesystem::path& report, std::span<const SalesPointBlock> blocks,
                    int periods);
    // The blocks' files go, whatever became of the run.
    ~CatalogueReport();
    CatalogueReport(const CatalogueReport&) = delete;
    CatalogueReport& operator=(const CatalogueReport&) = delete;

    // Where the block at this place in file order writes its report: absolute.
    const std::filesystem::path& BlockPath(std::size_t block) const { return pieces_[block].path; }
    // A block whose run completed leaves its totals here (from its own thread).
    void KeepTotals(std::size_t block, const RunState& state);

    // Ends the report once the blocks are done: joined and put in place when every block
    // completed. Otherwise, or when the joining fails, the previous report stays and the lines
    // joined are kept as the incomplete report. Empty when the report is in place; else what
    // stopped it (when the joining did) and where the lines are.
    std::string Finish(bool blocksCompleted, const NumberLocale& locale);

  private:
    std::vector<ReportPiece> pieces_;
    std::vector<ReportTotals> totals_;
    std::filesystem::path folder_;
    int periods_;
    ReportFile report_;
};

}  // namespace sf
