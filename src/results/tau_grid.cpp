#include "results/tau_grid.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "runtime/number_locale.h"
#include "runtime/text_to_number.h"

namespace sf {
namespace {

// Steps such as 0.1 are not exact, so (to - from) / step may fall just short of a whole count.
constexpr double kCountSlack = 1e-9;

double StepCount(const TauGrid& grid) {
    return std::floor((grid.to - grid.from) / grid.step + kCountSlack);
}

// from + k * step carries the error of the inexact step (3 x 0.1 is 0.30000000000000004); the
// same value written with 15 significant digits and read back is the tau a user typed (0.3), so
// the grid meets a run's own tau typed the same way.
double Tidy(double tau) {
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, tau, std::chars_format::general, 15);
    double tidy = tau;
    std::from_chars(text, written.ptr, tidy);
    return tidy;
}

}  // namespace

std::optional<TauGrid> ParseTauGrid(std::string_view text, std::string& problem) {
    const std::string quoted = "\"" + std::string(text) + "\"";
    const std::size_t firstColon = text.find(':');
    const std::size_t secondColon =
        firstColon == std::string_view::npos ? firstColon : text.find(':', firstColon + 1);
    if (secondColon == std::string_view::npos ||
        text.find(':', secondColon + 1) != std::string_view::npos) {
        problem = quoted + " is not FROM:TO:STEP, such as 0:3:0.1";
        return std::nullopt;
    }
    const std::string_view parts[3] = {text.substr(0, firstColon),
                                       text.substr(firstColon + 1, secondColon - firstColon - 1),
                                       text.substr(secondColon + 1)};
    const char* names[3] = {"FROM", "TO", "STEP"};
    double values[3] = {};
    for (int at = 0; at < 3; ++at) {
        const std::optional<double> value = TextToDouble(parts[at], NumberLocale{});
        if (!value) {
            problem = std::string(names[at]) + " of " + quoted + " is not a number";
            return std::nullopt;
        }
        values[at] = *value;
    }
    const TauGrid grid{values[0], values[1], values[2]};
    if (grid.step == 0.0) {
        problem = "the step of " + quoted + " is 0";
        return std::nullopt;
    }
    if (grid.from != grid.to && (grid.to > grid.from) != (grid.step > 0.0)) {
        problem = "the step of " + quoted + " has the wrong sign: it leads away from TO";
        return std::nullopt;
    }
    const double count = StepCount(grid) + 1.0;
    if (!(count <= kMaxGridTaus)) {
        problem = quoted + " has more than " + std::to_string(kMaxGridTaus) + " taus";
        return std::nullopt;
    }
    return grid;
}

std::vector<double> GridTaus(const TauGrid& grid, double runTau) {
    // A grid ParseTauGrid refuses gives at most its first tau.
    const double count = StepCount(grid);
    const int steps = count >= 0.0 && count < kMaxGridTaus ? static_cast<int>(count) : 0;
    std::vector<double> taus;
    taus.reserve(static_cast<std::size_t>(steps) + 2);
    for (int k = 0; k <= steps; ++k) {
        taus.push_back(Tidy(grid.from + k * grid.step));
    }
    taus.push_back(runTau);
    std::sort(taus.begin(), taus.end());
    taus.erase(std::unique(taus.begin(), taus.end()), taus.end());
    return taus;
}

}  // namespace sf
