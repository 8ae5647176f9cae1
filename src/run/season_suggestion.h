#pragma once

#include <optional>
#include <string>

#include "state/sales_history.h"

namespace sf {

// A season length the dates of a sales history suggest, and how many of its sales points show
// it: the days of a week (7) for daily dates, the weeks of a year (52) for weekly ones, the
// months (12) for monthly ones.
struct SeasonSuggestion {
    int length = 0;
    std::string unit;  // "days", "weeks" or "months"
    int showing = 0;   // sales points whose demand shows it
    int salesPoints = 0;
};

// The suggestion of a dated history whose periods hold 2M + 1 or more, when more than half of
// its sales points show the season in the lag-M autocorrelation test over all their periods (or
// have a position without any demand); none otherwise. Never applied by itself.
std::optional<SeasonSuggestion> SuggestSeason(const SalesHistory& history);

}  // namespace sf
