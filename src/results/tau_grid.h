#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sf {

inline constexpr int kMaxGridTaus = 10001;

// The taus from, from + step, ... up to to (down to it for a negative step).
struct TauGrid {
    double from = 0.0;
    double to = 3.0;
    double step = 0.1;
};

// Reads FROM:TO:STEP, numbers with a "." decimal point whatever the locale. Empty, with the
// reason in problem, for a text that is no grid, a step of 0 or one that leads away from TO,
// and a grid of more than kMaxGridTaus taus.
std::optional<TauGrid> ParseTauGrid(std::string_view text, std::string& problem);

// The grid's taus and the run's own, increasing, each once.
std::vector<double> GridTaus(const TauGrid& grid, double runTau);

}  // namespace sf
