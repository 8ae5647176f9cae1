#include "cli/history_options.h"

#include <algorithm>
#include <array>

namespace sf {
namespace {

// The choice a word names, or the reason it names none.
template <typename Choice, std::size_t Count>
std::optional<Choice> Word(const std::string& option, const std::string& value,
                           const std::array<ChoiceWord<Choice>, Count>& words,
                           std::string& problem) {
    const std::optional<Choice> choice = ChoiceOfWord(words, value);
    if (!choice) {
        problem = option + " takes " + WordList(words) + ", not \"" + value + "\"";
    }
    return choice;
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
        options.decimal = Word(option, value, kDecimalWords, problem);
        return options.decimal ? OptionUse::taken : OptionUse::refused;
    }
    if (option == "--history-header") {
        options.header = Word(option, value, kHeaderWords, problem);
        return options.header ? OptionUse::taken : OptionUse::refused;
    }
    if (option == "--history-missing") {
        options.missing = Word(option, value, kMissingWords, problem);
        return options.missing ? OptionUse::taken : OptionUse::refused;
    }
    if (option == "--history-date-order") {
        options.dateOrder = Word(option, value, kDateOrderWords, problem);
        return options.dateOrder ? OptionUse::taken : OptionUse::refused;
    }
    if (option == "--history-encoding") {
        options.encoding = Word(option, value, kEncodingWords, problem);
        return options.encoding ? OptionUse::taken : OptionUse::refused;
    }
    if (option == "--history-layout") {
        options.layout = Word(option, value, kLayoutWords, problem);
        return options.layout ? OptionUse::taken : OptionUse::refused;
    }
    if (option == "--history-duplicates") {
        options.duplicates = Word(option, value, kDuplicateWords, problem);
        return options.duplicates ? OptionUse::taken : OptionUse::refused;
    }
    if (option == "--history-columns") {
        options.columns = Columns(value, problem);
        return options.columns ? OptionUse::taken : OptionUse::refused;
    }
    return OptionUse::notMine;
}

}  // namespace sf
