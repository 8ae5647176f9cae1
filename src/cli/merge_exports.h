#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sf {

// The first argument that asks for a merge rather than a run.
inline constexpr std::string_view kMergeExportsOption = "--merge-exports";

// sales-forecast-cli --merge-exports DIR... --export OUT: the exports of a catalogue's shards
// joined into the folder the whole run writes. The sales points' rows are copied byte for
// byte; the pooled rows, the trade-off and the cheapest grid tau come from the shards' pool.csv,
// added in block order as the whole run adds them. OUT is replaced only when every shard was
// read and they fit together. The exit status: 0, 1 when a folder is refused (the reason on
// err), 2 for a command line it cannot use.
int RunMergeExports(const std::vector<std::string>& arguments, std::ostream& err);

}  // namespace sf
