#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "results/run_results.h"

namespace sf {

// A value at the run's own tau and at each tau that as_forecast's answers give: the taus
// themselves, the deliveries at them, or their sums.
struct AtTaus {
    double run = 0.0;
    std::optional<double> target;        // the target fill rate's tau
    std::optional<double> serviceLevel;  // the target cycle service level's tau
    std::optional<double> cheapest;      // the cheapest tau of the grid
};

// The answered taus after the run's own: the column of next.csv, and the words before "tau"
// that name it.
struct AnsweredTau {
    std::string_view column;
    std::string_view words;
    std::optional<double> AtTaus::*value;
};

inline constexpr std::array<AnsweredTau, 3> kAnsweredTaus = {{
    {"delivery_at_target_tau", "target fill rate", &AtTaus::target},
    {"delivery_at_service_level_tau", "target cycle service level", &AtTaus::serviceLevel},
    {"delivery_at_cheapest_tau", "cheapest", &AtTaus::cheapest},
}};

// The taus the coming deliveries are given at: the forecasts are as_forecast's, so are its
// answers.
AtTaus DeliveryTaus(const RunResults& results);

// One coming period of one sales point and what to deliver for it.
struct NextDelivery {
    int salesPoint = 0;
    int period = 0;
    int decidedAt = 0;  // P for the delivery to decide now, earlier for those decided before
    double forecast = 0.0;
    double sigma = 0.0;
    AtTaus delivery;  // the formula's values, below 0 where it gives that
    // Not to be trusted: the sales point is not sound, or this forecast or sigma lies outside
    // the band its demand allows.
    bool diverged = false;
};

// Every coming period of every sales point, sales points outer; none when as_forecast has no
// periods.
std::vector<NextDelivery> NextDeliveries(const RunResults& results);

// The deliveries decided now, at P, added over the sound sales points in their order.
struct DecidedNow {
    int period = 0;  // P + max(H, 1)
    int soundSalesPoints = 0;
    AtTaus total;
};

// None when there are no coming periods.
std::optional<DecidedNow> DeliveriesDecidedNow(const RunResults& results,
                                               const std::vector<NextDelivery>& next);

}  // namespace sf
