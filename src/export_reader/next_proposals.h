#pragma once

#include <string_view>
#include <vector>

#include "results/export_form.h"
#include "results/proposals.h"
#include "results/run_series.h"

namespace sf {

// The form next.csv was written in, told by its header row: the earlier one without the cost
// tau and the proposals, else the current one.
ExportForm FormOfNextTable(std::string_view text);

// The proposals next.csv holds, sales point sp at sp - 1: the source each names, and the
// proposals of those from constants within 0 and 1, which only their run can give. The rest of
// the file is written again from the run and compared, so a row that does not fit is found
// there. A RunError naming next.csv, the row and the column of a source that is none of
// kProposalSourceNames or a proposal that is no number.
std::vector<Proposal> ReadProposals(std::string_view text, const RunSeries& series);

}  // namespace sf
