#include "state/sales_history.h"

#include <system_error>

namespace sf {

HistorySource AbsoluteSource(const std::filesystem::path& file, const HistoryChoices& choices) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    return {error ? file : absolute, choices};
}

std::optional<HistorySource> SourceOf(const std::optional<SalesHistory>& history) {
    if (!history) {
        return std::nullopt;
    }
    return AbsoluteSource(history->file, history->choices);
}

}  // namespace sf
