#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/results_options.h"
#include "state/history_choices.h"

namespace sf {

// The choices of how a sales history is read, each set by an option or left as found.
struct HistoryCliOptions {
    std::optional<DecimalChoice> decimal;
    std::optional<HeaderChoice> header;
    std::optional<HistoryColumns> columns;
    std::optional<MissingRows> missing;
    std::optional<DateOrderChoice> dateOrder;
    std::optional<EncodingChoice> encoding;
    std::optional<LayoutChoice> layout;
    std::optional<DuplicateRows> duplicates;

    bool Any() const {
        return decimal || header || columns || missing || dateOrder || encoding || layout ||
               duplicates;
    }
    // The choices given, over those of beneath (a scenario's).
    HistoryChoices Over(const HistoryChoices& beneath) const;
};

// --history-decimal, --history-header, --history-columns, --history-missing,
// --history-date-order, --history-encoding, --history-layout and --history-duplicates with their
// value; refused with the reason in problem.
OptionUse TakeHistoryOption(const std::string& option, const std::string& value,
                            HistoryCliOptions& options, std::string& problem);

}  // namespace sf
