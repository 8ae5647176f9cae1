#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#include "state/sales_history.h"

namespace sf {

// Daily sales of a shop's articles: mostly zeros, a weekly rhythm, now and then a run on one.
inline SalesHistory ShopHistory(int salesPoints, int periods, std::uint32_t seed) {
    SalesHistory history;
    history.name = "shop.csv";
    history.salesPoints = salesPoints;
    history.periods = periods;
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> share(0.0, 1.0);
    std::vector<double> demand;
    for (int sp = 1; sp <= salesPoints; ++sp) {
        history.names.push_back("article " + std::to_string(sp));
        const double level = 0.2 + 6.0 * share(random);
        for (int t = 1; t <= periods; ++t) {
            const double weekday = t % 7 == 5 || t % 7 == 6 ? 1.8 : 1.0;
            const bool sold = share(random) < 0.45;
            demand.push_back(sold ? std::floor(level * weekday * 2.0 * share(random)) : 0);
        }
    }
    history.demand = std::move(demand);
    return history;
}

// The sales points first..first + count - 1 of a history as a file holding them alone.
inline SalesHistory BlockAlone(const SalesHistory& history, int first, int count) {
    SalesHistory alone = history;
    alone.salesPoints = count;
    alone.names.assign(history.names.begin() + (first - 1),
                       history.names.begin() + (first - 1 + count));
    const auto at =
        history.demand.begin() + static_cast<std::ptrdiff_t>(first - 1) * history.periods;
    alone.demand =
        std::vector<double>(at, at + static_cast<std::ptrdiff_t>(count) * history.periods);
    return alone;
}

}  // namespace sf
