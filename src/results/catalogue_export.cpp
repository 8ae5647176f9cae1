#include "results/catalogue_export.h"

#include <array>

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
}

std::string CatalogueExport::Finish(const RunResults& results,
                                    const std::vector<NextDelivery>& next,
                                    const RunRecord& record) {
    // Something may have come into the folder during the run.
    if (const std::optional<std::string> problem = CheckExportFolder(folder_)) {
        throw RunError(*problem);
    }
    const std::array<std::string_view, 1> written = {kSeriesFile};
    return FinishExportFolder(write_, results, next, record,
                              std::span(written).first(series_ ? 1 : 0));
}

}  // namespace sf
