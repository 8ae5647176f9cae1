#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "results/next_deliveries.h"
#include "results/run_record.h"
#include "results/run_results.h"
#include "runtime/replaced_files.h"

namespace sf {

// The export folder of a catalogue, written while it runs: series.csv (when asked for) as its
// blocks finish, in sales-point order, the other files once every block is pooled. The folder
// is replaced only by Finish: a run that fails or is stopped leaves it as it was.
class CatalogueExport {
  public:
    // Throws a RunError naming the folder when it cannot take an export (CheckExportFolder).
    CatalogueExport(const std::filesystem::path& folder, bool series);

    // The rows of the next block of series.csv (SeriesRows), after those of the blocks before.
    void AppendSeriesRows(std::string_view rows);
    // pool.csv, which only a shard writes.
    void WritePool(std::string_view text);
    // The other files, and the folder replaced; the note for the user, empty when there is none.
    std::string Finish(const RunResults& results, const std::vector<NextDelivery>& next,
                       const RunRecord& record);

  private:
    std::filesystem::path folder_;
    FolderWrite write_;
    bool series_;
    bool pool_ = false;
};

}  // namespace sf
