#pragma once

namespace sf {

// The export files' form: a folder written before the proposals and the cost tau keeps its
// earlier next.csv header, no cost tau, and rates in summary.csv's "all" rows whatever
// diverged; it is written again in that form, so that it still opens.
enum class ExportForm { beforeProposals, current };

}  // namespace sf
