#include "cli/history_options.h"

#include <algorithm>
#include <array>

namespace sf {
namespace {

// Takes the choice a word names into `choice`, or says why it names none.
template <typename Choice, std::size_t Count>
OptionUse TakeWord(const std::string& option, const std::string& value,
                   const std::array<ChoiceWord<Choice>, Count>& words,
                   std::optional<Choice>& choice, std::string& problem) {
    choice = ChoiceOfWord(words, value);
    if (!choice) {
        problem = option + " takes " + WordList(words) + ", not \"" + value + "\"";
        return OptionUse::refused;
    }
    return OptionUse::taken;
}

// NAME,PERIOD,DEMAND: three header names or column numbers from 1.
std::optional<HistoryColumns> Columns(const std::string& value, std::string& problem) {
    std::array<std::string, 3> parts;
    std::size_t part = 0;
    for (const char c : value) {
        if (c != ',') {
            parts[part] += c;
        } else if (++part == parts.size()) {
            break;
        }
    }
    if (part != 2 || std::ranges::any_of(parts, [](const std::string& p) { return p.empty(); })) {
        problem =
            "--history-columns takes three columns NAME,PERIOD,DEMAND (header names or "
            "numbers from 1), not \"" +
            value + "\"";
        return std::nullopt;
    }
    return HistoryColumns{parts[0], parts[1], parts[2]};
}

}  // namespace

HistoryChoices HistoryCliOptions::Over(const HistoryChoices& beneath) const {
    HistoryChoices choices = beneath;
    choices.decimal = decimal.value_or(beneath.decimal);
    choices.header = header.value_or(beneath.header);
    if (columns) {
        choices.columns = columns;
    }
    choices.missing = missing.value_or(beneath.missing);
    choices.dateOrder = dateOrder.value_or(beneath.dateOrder);
    choices.encoding = encoding.value_or(beneath.encoding);
    choices.layout = layout.value_or(beneath.layout);
    choices.duplicates = duplicates.value_or(beneath.duplicates);
    return choices;
}

OptionUse TakeHistoryOption(const std::string& option, const std::string& value,
                            HistoryCliOptions& options, std::string& problem) {
    if (option == "--history-decimal") {
        return TakeWord(option, value, kDecimalWords, options.decimal, problem);
    }
    if (option == "--history-header") {
        return TakeWord(option, value, kHeaderWords, options.header, problem);
    }
    if (option == "--history-missing") {
        return TakeWord(option, value, kMissingWords, options.missing, problem);
    }
    if (option == "--history-date-order") {
        return TakeWord(option, value, kDateOrderWords, options.dateOrder, problem);
    }
    if (option == "--history-encoding") {
        return TakeWord(option, value, kEncodingWords, options.encoding, problem);
    }
    if (option == "--history-layout") {
        return TakeWord(option, value, kLayoutWords, options.layout, problem);
    }
    if (option == "--history-duplicates") {
        return TakeWord(option, value, kDuplicateWords, options.duplicates, problem);
    }
    if (option == "--history-columns") {
        options.columns = Columns(value, problem);
        return options.columns ? OptionUse::taken : OptionUse::refused;
    }
    return OptionUse::notMine;
}

}  // namespace sf
