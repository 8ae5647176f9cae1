#include "run/season_suggestion.h"

#include <charconv>
#include <span>

#include "estimation/season_indices.h"

namespace sf {
namespace {

// Days since 1970-01-01 of a YYYY-MM-DD date (the civil calendar's count); none for another text.
std::optional<long> DayNumber(const std::string& date) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (date.size() != 10 ||
        std::from_chars(date.data(), date.data() + 4, year).ptr != date.data() + 4 ||
        std::from_chars(date.data() + 5, date.data() + 7, month).ptr != date.data() + 7 ||
        std::from_chars(date.data() + 8, date.data() + 10, day).ptr != date.data() + 10) {
        return std::nullopt;
    }
    const long y = month <= 2 ? year - 1 : year;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The season a step of days between periods suggests.
std::optional<SeasonSuggestion> ByStep(long days) {
    if (days == 1) {
        return SeasonSuggestion{7, "days", 0, 0};
    }
    if (days == 7) {
        return SeasonSuggestion{52, "weeks", 0, 0};
    }
    if (days >= 28 && days <= 31) {
        return SeasonSuggestion{12, "months", 0, 0};
    }
    return std::nullopt;
}

}  // namespace

std::optional<SeasonSuggestion> SuggestSeason(const SalesHistory& history) {
    if (history.dates.size() < 2 || history.salesPoints < 1) {
        return std::nullopt;
    }
    const std::optional<long> first = DayNumber(history.dates[0]);
    const std::optional<long> second = DayNumber(history.dates[1]);
    std::optional<SeasonSuggestion> suggestion =
        first && second ? ByStep(*second - *first) : std::nullopt;
    if (!suggestion || history.periods < SeasonWindowNeeded(suggestion->length)) {
        return std::nullopt;
    }
    suggestion->salesPoints = history.salesPoints;
    for (int sp = 1; sp <= history.salesPoints; ++sp) {
        const std::span<const double> demand(
            &history.demand[static_cast<std::size_t>(sp - 1) * history.periods],
            static_cast<std::size_t>(history.periods));
        const SeasonIndices indices = ComputeSeasonIndices(demand, suggestion->length);
        suggestion->showing += indices.flat ? 0 : 1;
    }
    if (2 * suggestion->showing <= suggestion->salesPoints) {
        return std::nullopt;
    }
    return suggestion;
}

}  // namespace sf
