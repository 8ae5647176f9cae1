// Any bytes as a sales history file: reading ends in a history a run can use or in a one-line
// message, the quick reading says what the plain one says, and a history taken is taken again,
// value for value, when written out plainly. Anything else aborts.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "history/history_reader.h"
#include "runtime/run_error.h"
#include "state/run_state.h"

namespace {

[[noreturn]] void Fail(const char* problem) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
}

// One column per sales point, the shortest text of each number, no header; the dates first
// where the history has them.
std::string WrittenWide(const sf::SalesHistory& history) {
    std::string text;
    for (int period = 1; period <= history.periods; ++period) {
        if (!history.dates.empty()) {
            text += history.dates[static_cast<std::size_t>(period - 1)] + ",";
        }
        for (int salesPoint = 1; salesPoint <= history.salesPoints; ++salesPoint) {
            char number[32];
            const auto [end, error] =
                std::to_chars(number, number + sizeof(number), history.Demand(salesPoint, period));
            text.append(salesPoint == 1 ? "" : ",").append(number, end);
        }
        text += '\n';
    }
    return text;
}

void CheckTaken(const sf::SalesHistory& history) {
    // Any number of sales points (a catalogue's), up to 10,000 periods.
    if (history.salesPoints < 1 || history.periods < 1 ||
        history.periods > sf::kMaxHistoryPeriods) {
        Fail("a history beyond the counts a run can take");
    }
    if (history.demand.size() != static_cast<std::size_t>(history.salesPoints) * history.periods) {
        Fail("a history whose demand does not fill its counts");
    }
    for (const double demand : history.demand) {
        if (!std::isfinite(demand)) {
            Fail("a demand that is not a finite number");
        }
    }
    if (!history.dates.empty() &&
        history.dates.size() != static_cast<std::size_t>(history.periods)) {
        Fail("a history whose dates do not match its periods");
    }
    if (!history.names.empty() &&
        history.names.size() != static_cast<std::size_t>(history.salesPoints)) {
        Fail("a history whose names do not match its sales points");
    }
}

// The history taken or the refusal, and how far the reader got.
struct Outcome {
    sf::SalesHistory history;
    std::string refusal;
    sf::HistoryLayout layout;
    bool operator==(const Outcome&) const = default;
};

Outcome Read(std::string_view bytes, const sf::HistoryChoices& choices,
             sf::HistoryReading reading) {
    Outcome outcome;
    try {
        outcome.history = sf::ParseSalesHistory(bytes, choices, &outcome.layout, reading);
    } catch (const sf::RunError& refusal) {
        outcome.refusal = refusal.what();
        if (outcome.refusal.empty()) {
            Fail("a refusal that says nothing");
        }
    }
    return outcome;
}

// Read as found, and with every choice a user can make set otherwise.
const sf::HistoryChoices kChoices[] = {
    {},
    {sf::DecimalChoice::comma, sf::HeaderChoice::no, std::nullopt, sf::MissingRows::zero,
     sf::DateOrderChoice::dayFirst, sf::EncodingChoice::windows1252, sf::LayoutChoice::wide},
    {sf::DecimalChoice::point, sf::HeaderChoice::yes, sf::HistoryColumns{"1", "2", "3"},
     sf::MissingRows::refused, sf::DateOrderChoice::monthFirst, sf::EncodingChoice::utf8},
    {sf::DecimalChoice::found, sf::HeaderChoice::found, sf::HistoryColumns{"1+2", "3", "4"},
     sf::MissingRows::zero, sf::DateOrderChoice::found, sf::EncodingChoice::found,
     sf::LayoutChoice::found, sf::DuplicateRows::summed},
    {sf::DecimalChoice::found, sf::HeaderChoice::found, std::nullopt, sf::MissingRows::refused,
     sf::DateOrderChoice::found, sf::EncodingChoice::found, sf::LayoutChoice::rows},
    {sf::DecimalChoice::found, sf::HeaderChoice::found, std::nullopt, sf::MissingRows::zero,
     sf::DateOrderChoice::found, sf::EncodingChoice::found, sf::LayoutChoice::longTable,
     sf::DuplicateRows::summed},
};

// A history written out plainly is a wide table, whatever its numbers look like.
const sf::HistoryChoices kWritten = {
    sf::DecimalChoice::found, sf::HeaderChoice::found,    std::nullopt,
    sf::MissingRows::refused, sf::DateOrderChoice::found, sf::EncodingChoice::found,
    sf::LayoutChoice::wide};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const sf::HistoryChoices& choices : kChoices) {
        const Outcome plain = Read(bytes, choices, sf::HistoryReading::plain);
        const Outcome quick = Read(bytes, choices, sf::HistoryReading::quick);
        if (!(quick == plain)) {
            Fail("the quick reading says otherwise than the plain one");
        }
        if (!quick.refusal.empty()) {
            if (quick.refusal.find_first_of("\r\n") != std::string::npos) {
                Fail("a refusal that is not one line of text");
            }
            continue;
        }
        const sf::SalesHistory& history = quick.history;
        CheckTaken(history);
        const sf::SalesHistory again = sf::ParseSalesHistory(WrittenWide(history), kWritten);
        if (again.salesPoints != history.salesPoints || again.periods != history.periods ||
            again.demand != history.demand || again.dates != history.dates) {
            Fail("the history written out plainly reads back different");
        }
    }
    return 0;
}
