#include "results/catalogue_export.h"

#include <utility>
#include <vector>

#include "results/export_folder.h"
#include "results/export_tables.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr std::string_view kSeriesFile = "series.csv";

// Checked before the staging folder is made beside it.
const std::filesystem::path& Checked(const std::filesystem::path& folder) {
    if (const std::optional<std::string> problem = CheckExportFolder(folder)) {
        throw RunError(*problem);
    }
    return folder;
}

}  // namespace

CatalogueExport::CatalogueExport(const std::filesystem::path& folder, bool series)
    : folder_(folder), write_(Checked(folder), "export", ExportEntryNames()), series_(series) {
    if (series_) {
        write_.Append({kSeriesFile, SeriesHeader()});
    }
}

void CatalogueExport::AppendSeriesRows(std::string_view rows) {
    write_.Append({kSeriesFile, rows});
}

void CatalogueExport::WritePool(std::string_view text) {
    write_.Write({kPoolFile, text});
    pool_ = true;
}

std::string CatalogueExport::Finish(const RunResults& results,
                                    const std::vector<NextDelivery>& next,
                                    const RunRecord& record) {
    // Something may have come into the folder during the run.
    if (const std::optional<std::string> problem = CheckExportFolder(folder_)) {
        throw RunError(*problem);
    }
    std::vector<std::string_view> written;
    for (const auto& [name, wrote] :
         {std::pair(kSeriesFile, series_), std::pair(kPoolFile, pool_)}) {
        if (wrote) {
            written.push_back(name);
        }
    }
    return FinishExportFolder(write_, results, next, record, written);
}

}  // namespace sf
