#include "run/catalogue_report.h"

#include <sys/resource.h>

#include <algorithm>
#include <exception>
#include <fstream>
#include <system_error>

#include "run/run_driver.h"
#include "runtime/run_error.h"
#include "runtime/staged_file.h"
#include "runtime/temporary_names.h"

namespace fs = std::filesystem;

namespace sf {
namespace {

// The lines of one report read back one at a time, each without its line end.
class ReportLines {
  public:
    explicit ReportLines(const fs::path& path) : in_(path, std::ios::binary) {
        if (!in_.is_open()) {
            // A run that stopped kept its lines beside its report.
            in_.open(IncompleteReportPath(path), std::ios::binary);
        }
    }

    // False at the end: a last line without its line end was cut short and counts for none.
    bool Next() {
        if (!std::getline(in_, line_) || in_.eof() || line_.empty() || line_.back() != '\r') {
            return false;
        }
        line_.pop_back();
        return true;
    }
    const std::string& Line() const { return line_; }

  private:
    std::ifstream in_;
    std::string line_;
};

bool AllNext(std::vector<ReportLines>& reports) {
    return std::ranges::all_of(reports, [](ReportLines& report) { return report.Next(); });
}

// The lines every report holds alike, once, through the line last.
bool CopySharedLines(std::vector<ReportLines>& reports, ReportFile& into, std::string_view last) {
    while (AllNext(reports)) {
        const std::string& line = reports.front().Line();
        for (const ReportLines& report : reports) {
            if (report.Line() != line) {
                throw RunError("The blocks' reports differ in a line they share: \"" + line +
                               "\" against \"" + report.Line() + "\".");
            }
        }
        into.WriteLine(line);
        if (line == last) {
            return true;
        }
    }
    return false;
}

// Each row the reports' rows side by side, one space apart as the cells within a row are.
bool JoinMatrixRows(std::vector<ReportLines>& reports, ReportFile& into, int periods,
                    std::string& row) {
    for (int period = 1; period <= periods; ++period) {
        if (!AllNext(reports)) {
            return false;
        }
        row.clear();
        for (const ReportLines& report : reports) {
            if (!row.empty()) {
                row += ' ';
            }
            row += report.Line();
        }
        into.WriteLine(row);
    }
    return true;
}

bool JoinOnce(std::span<const ReportPiece> pieces, int periods, ReportFile& into,
              const NumberLocale& locale) {
    std::vector<ReportLines> reports;
    reports.reserve(pieces.size());
    for (const ReportPiece& piece : pieces) {
        reports.emplace_back(piece.path);
    }
    std::string row;
    for (const std::string_view heading : kMatrixHeadings) {
        if (!CopySharedLines(reports, into, heading) ||
            !JoinMatrixRows(reports, into, periods, row)) {
            return false;
        }
    }
    if (!CopySharedLines(reports, into, LostSaleHeading())) {
        return false;
    }
    int salesPoint = 0;
    for (std::size_t at = 0; at < pieces.size(); ++at) {
        for (int k = 0; k < pieces[at].salesPoints; ++k) {
            if (!reports[at].Next()) {
                return false;
            }
            into.WriteLine(RenumberedLostSaleRow(reports[at].Line(), ++salesPoint, locale));
        }
    }
    return true;
}

void RemoveReport(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    fs::remove(IncompleteReportPath(path), ignored);
}

// One round: the pieces joined in groups of at most mostOpen, each into a hidden file.
std::vector<ReportPiece> JoinRound(std::span<const ReportPiece> pieces, int periods,
                                   const NumberLocale& locale, std::size_t mostOpen,
                                   const fs::path& folder, std::vector<fs::path>& made) {
    std::vector<ReportPiece> joined;
    for (std::size_t at = 0; at < pieces.size(); at += mostOpen) {
        const std::span<const ReportPiece> group =
            pieces.subspan(at, std::min(mostOpen, pieces.size() - at));
        ReportPiece piece{folder / TemporaryName(), 0};
        for (const ReportPiece& part : group) {
            piece.salesPoints += part.salesPoints;
        }
        made.push_back(piece.path);
        ReportFile file(piece.path);
        // A group that ends early is kept as far as it goes: the next round stops there.
        JoinOnce(group, periods, file, locale);
        file.Close();
        joined.push_back(std::move(piece));
    }
    return joined;
}

// The files that can be open at once for reading, with room for those the program holds anyway.
std::size_t OpenFileBudget() {
    constexpr rlim_t kHeldAnyway = 32;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return 1000;
    }
    return limit.rlim_cur > kHeldAnyway + 2 ? static_cast<std::size_t>(limit.rlim_cur - kHeldAnyway)
                                            : 2;
}

// Beside the report, or where the report is a device or a pipe, in the temporary folder.
fs::path FolderForBlocks(const fs::path& report) {
    std::error_code error;
    const fs::file_status status = fs::status(report, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        const fs::path temporary = fs::temp_directory_path(error);
        return error ? fs::path("/tmp") : temporary;
    }
    const fs::path target = FollowLinks(report);
    const fs::path absolute = fs::absolute(FolderOf(target), error);
    return error ? FolderOf(target) : absolute;
}

}  // namespace

bool JoinReportLines(std::vector<ReportPiece> pieces, int periods, ReportFile& into,
                     const NumberLocale& locale, std::size_t mostOpen, const fs::path& folder) {
    mostOpen = std::max<std::size_t>(mostOpen, 2);
    std::vector<fs::path> made;  // the rounds' hidden files not yet removed
    try {
        while (pieces.size() > mostOpen) {
            const auto read = static_cast<std::ptrdiff_t>(made.size());
            pieces = JoinRound(pieces, periods, locale, mostOpen, folder, made);
            // The round's inputs are read: at most two rounds' files on the disk at once.
            std::for_each(made.begin(), made.begin() + read, RemoveReport);
            made.erase(made.begin(), made.begin() + read);
        }
        const bool whole = JoinOnce(pieces, periods, into, locale);
        std::ranges::for_each(made, RemoveReport);
        return whole;
    } catch (...) {
        std::ranges::for_each(made, RemoveReport);
        throw;
    }
}

ReportTotals PooledTotals(std::span<const ReportTotals> blocks) {
    ReportTotals pooled;
    for (const ReportTotals& block : blocks) {
        pooled.sales = pooled.sales + block.sales;
        pooled.lostSale = pooled.lostSale + block.lostSale;
        pooled.returned = pooled.returned + block.returned;
    }
    return pooled;
}

std::string WithoutReportNote(std::string message, const fs::path& report) {
    // A block's file is new: its note says that no report was made.
    const std::size_t at = message.rfind("\nNo report \"" + report.string() + "\"");
    if (at != std::string::npos) {
        message.erase(at);
    }
    return message;
}

CatalogueReport::CatalogueReport(const fs::path& report, std::span<const SalesPointBlock> blocks,
                                 int periods)
    : totals_(blocks.size()), folder_(FolderForBlocks(report)), periods_(periods), report_(report) {
    for (const SalesPointBlock& block : blocks) {
        pieces_.push_back({folder_ / TemporaryName(), block.count});
    }
}

CatalogueReport::~CatalogueReport() {
    for (const ReportPiece& piece : pieces_) {
        RemoveReport(piece.path);
    }
}

void CatalogueReport::KeepTotals(std::size_t block, const RunState& state) {
    totals_[block] = TotalsOf(state);
}

std::string CatalogueReport::Finish(bool blocksCompleted, const NumberLocale& locale) {
    std::string fault;
    try {
        const bool whole =
            JoinReportLines(pieces_, periods_, report_, locale, OpenFileBudget(), folder_);
        if (blocksCompleted) {
            if (!whole) {
                throw RunError("The blocks' reports could not be read back from \"" +
                               folder_.string() + "\".");
            }
            WriteTotals(PooledTotals(totals_), report_, locale);
            report_.Close();
            return "";
        }
    } catch (...) {
        fault = OutcomeOfFault(std::current_exception()).message + "\n";
    }
    return fault + report_.KeepIncomplete();
}

}  // namespace sf
