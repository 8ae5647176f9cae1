#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sf {

// How a sales history is read where the file alone does not settle it, as the user chose.
// `found` leaves it to what the reader finds in the file.
enum class DecimalChoice { found, comma, point };
enum class HeaderChoice { found, yes, no };
// What a long table's missing (sales point, period) row means.
enum class MissingRows { refused, zero };
// Which of day and month comes first in a date written with slashes (03/01/2024).
enum class DateOrderChoice { found, dayFirst, monthFirst };
// How the bytes of a file that is not UTF-16 are text.
enum class EncodingChoice { found, utf8, windows1252 };
// Which way a file holds its sales points: a column each, a row each, or a row per period too.
enum class LayoutChoice { found, wide, rows, longTable };
// What two rows of a long table for one sales point and period mean.
enum class DuplicateRows { refused, summed };

// The three columns of a long table, each a header cell's text or a column number from 1; the
// sales point may be several columns joined by "+" (store+article).
struct HistoryColumns {
    std::string name;
    std::string period;
    std::string demand;

    bool operator==(const HistoryColumns&) const = default;
};

struct HistoryChoices {
    DecimalChoice decimal = DecimalChoice::found;
    HeaderChoice header = HeaderChoice::found;
    std::optional<HistoryColumns> columns;  // none: found by their header names or content
    MissingRows missing = MissingRows::refused;
    DateOrderChoice dateOrder = DateOrderChoice::found;
    EncodingChoice encoding = EncodingChoice::found;
    LayoutChoice layout = LayoutChoice::found;
    DuplicateRows duplicates = DuplicateRows::refused;

    bool operator==(const HistoryChoices&) const = default;
};

// A sales history as a scenario remembers it: where the file is and how it is read.
struct HistorySource {
    std::filesystem::path path;
    HistoryChoices choices;

    bool operator==(const HistorySource&) const = default;
};

// Each choice's word, as the batch command's options and the scenario file write it.
template <typename Choice>
struct ChoiceWord {
    Choice choice;
    std::string_view word;
};

inline constexpr std::array<ChoiceWord<DecimalChoice>, 3> kDecimalWords = {
    {{DecimalChoice::found, "auto"},
     {DecimalChoice::comma, "comma"},
     {DecimalChoice::point, "point"}}};
inline constexpr std::array<ChoiceWord<HeaderChoice>, 3> kHeaderWords = {
    {{HeaderChoice::found, "auto"}, {HeaderChoice::yes, "yes"}, {HeaderChoice::no, "no"}}};
inline constexpr std::array<ChoiceWord<MissingRows>, 2> kMissingWords = {
    {{MissingRows::refused, "refuse"}, {MissingRows::zero, "zero"}}};
inline constexpr std::array<ChoiceWord<DateOrderChoice>, 3> kDateOrderWords = {
    {{DateOrderChoice::found, "auto"},
     {DateOrderChoice::dayFirst, "dmy"},
     {DateOrderChoice::monthFirst, "mdy"}}};
inline constexpr std::array<ChoiceWord<EncodingChoice>, 3> kEncodingWords = {
    {{EncodingChoice::found, "auto"},
     {EncodingChoice::utf8, "utf-8"},
     {EncodingChoice::windows1252, "windows-1252"}}};
inline constexpr std::array<ChoiceWord<LayoutChoice>, 4> kLayoutWords = {
    {{LayoutChoice::found, "auto"},
     {LayoutChoice::wide, "wide"},
     {LayoutChoice::rows, "rows"},
     {LayoutChoice::longTable, "long"}}};
inline constexpr std::array<ChoiceWord<DuplicateRows>, 2> kDuplicateWords = {
    {{DuplicateRows::refused, "refuse"}, {DuplicateRows::summed, "sum"}}};

template <typename Choice, std::size_t Count>
std::optional<Choice> ChoiceOfWord(const std::array<ChoiceWord<Choice>, Count>& words,
                                   std::string_view word) {
    for (const ChoiceWord<Choice>& entry : words) {
        if (entry.word == word) {
            return entry.choice;
        }
    }
    return std::nullopt;
}

template <typename Choice, std::size_t Count>
std::string_view WordOfChoice(const std::array<ChoiceWord<Choice>, Count>& words, Choice choice) {
    for (const ChoiceWord<Choice>& entry : words) {
        if (entry.choice == choice) {
            return entry.word;
        }
    }
    return {};
}

// "auto, comma or point", for a message that lists what may be given.
template <typename Choice, std::size_t Count>
std::string WordList(const std::array<ChoiceWord<Choice>, Count>& words) {
    std::string list;
    for (std::size_t at = 0; at < Count; ++at) {
        list += (at == 0 ? "" : at + 1 == Count ? " or " : ", ") + std::string(words[at].word);
    }
    return list;
}

}  // namespace sf
