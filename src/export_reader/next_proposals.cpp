#include "export_reader/next_proposals.h"

#include <algorithm>
#include <utility>

#include "export_reader/export_cells.h"
#include "history/csv_records.h"
#include "results/export_tables.h"
#include "results/run_results.h"

namespace sf {
namespace {

constexpr std::string_view kFile = "next.csv";
// proposal and proposal_from close each row.
constexpr std::size_t kCells = 15;

}  // namespace

ExportForm FormOfNextTable(std::string_view text) {
    RunResults none;
    none.form = ExportForm::beforeProposals;
    const std::string earlierHeader = NextCsv(none);
    return text.substr(0, text.find('\n') + 1) == earlierHeader ? ExportForm::beforeProposals
                                                                : ExportForm::current;
}

std::vector<Proposal> ReadProposals(std::string_view text, const RunSeries& series) {
    std::vector<Proposal> proposals(series.salesPoints.size());
    for (Proposal& proposal : proposals) {
        proposal.delivery.first = series.comingPeriods.first;
    }
    bool header = true;
    ForEachCsvRecord(text, ',', {}, [&](const CsvRecord& record) {
        if (std::exchange(header, false) || record.cells.size() != kCells) {
            return;
        }
        const int salesPoint = WholeNumber({kFile, record.row, "sales_point"}, record.cells[0]);
        const std::string& from = record.cells[14];
        const auto named = std::ranges::find(kProposalSourceNames, from);
        if (named == kProposalSourceNames.end()) {
            RefuseCell({kFile, record.row, "proposal_from"},
                       Quoted(from) + " is none of run, constants_0_1 and none");
        }
        const std::optional<double> proposal =
            OptionalNumber({kFile, record.row, "proposal"}, record.cells[13]);
        if (salesPoint < 1 || salesPoint > static_cast<int>(proposals.size())) {
            return;
        }
        Proposal& kept = proposals[static_cast<std::size_t>(salesPoint - 1)];
        kept.from = static_cast<ProposalSource>(named - kProposalSourceNames.begin());
        if (kept.from == ProposalSource::constants01 && proposal) {
            kept.delivery.values.push_back(*proposal);
        }
    });
    return proposals;
}

}  // namespace sf
