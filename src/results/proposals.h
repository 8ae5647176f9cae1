#pragma once

#include <array>
#include <string_view>

#include "results/run_series.h"

namespace sf {

// Where the deliveries proposed for a sales point come from: the run itself, or, for a sales
// point whose coming rows diverged, a run of that sales point alone on the same demand with
// the constants kept within 0 and 1; none where that run diverges too.
enum class ProposalSource { run, constants01, none };

// As next.csv's proposal_from writes them, in the enum's order.
inline constexpr std::array<std::string_view, 3> kProposalSourceNames = {"run", "constants_0_1",
                                                                         "none"};

inline constexpr std::string_view ProposalSourceName(ProposalSource source) {
    return kProposalSourceNames[static_cast<std::size_t>(source)];
}

// The deliveries proposed for one sales point's coming periods, at the run's tau.
struct Proposal {
    ProposalSource from = ProposalSource::run;
    // From the bounded run, over the coming periods; empty for run (its own) and none.
    PeriodSeries delivery;
};

}  // namespace sf
