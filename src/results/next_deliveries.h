#pragma once

#include <array>
#include <optional>
#include <string>
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
    std::optional<double> cost;          // the cost tau: its cycle service level balances the costs
};

// The answered taus after the run's own: the column of next.csv, and the words before "tau"
// that name it.
struct AnsweredTau {
    std::string_view column;
    std::string_view words;
    std::optional<double> AtTaus::*value;
};

inline constexpr std::array<AnsweredTau, 4> kAnsweredTaus = {{
    {"delivery_at_target_tau", "target fill rate", &AtTaus::target},
    {"delivery_at_service_level_tau", "target cycle service level", &AtTaus::serviceLevel},
    {"delivery_at_cheapest_tau", "cheapest", &AtTaus::cheapest},
    {"delivery_at_cost_tau", "cost", &AtTaus::cost},
}};

// The answered taus an export folder written before the cost tau holds.
inline constexpr std::size_t kEarlierAnsweredTaus = 3;

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
    // What to deliver at the run's tau: its own delivery, or for a sales point any of whose
    // rows diverged that of a run with the constants within 0 and 1; none where that diverges
    // too.
    std::optional<double> proposal;
    ProposalSource proposalFrom = ProposalSource::run;
};

// Every coming period of every sales point, sales points outer; none when as_forecast has no
// periods.
std::vector<NextDelivery> NextDeliveries(const RunResults& results);

// The deliveries at the answered taus from each row's forecast and sigma: for rows made before
// the taus were answered (a catalogue's, whose answers pool every block).
void DeliverAtAnsweredTaus(std::vector<NextDelivery>& rows, const AtTaus& taus);

// The sales points, increasing, any of whose coming rows diverged.
std::vector<int> DivergedComingSalesPoints(const std::vector<NextDelivery>& next);

// The deliveries decided now, at P, added over the sound sales points in their order; and the
// proposals of every sales point, added in their order.
struct DecidedNow {
    int period = 0;  // P + max(H, 1)
    int soundSalesPoints = 0;
    AtTaus total;
    double proposals = 0.0;
    int proposalsFromConstants01 = 0;
    int withoutProposal = 0;  // sales points whose bounded run diverged too
    int salesPoints = 0;
};

// The proposals' total in words, for every front end: how many sales points it adds, and how
// many of them came from constants within 0 and 1 or have none.
std::string ProposalsTotalText(const DecidedNow& now);

// Where some sales points' coming rows diverged, how many of them the option that keeps the
// constants within 0 and 1 (named as the front end shows it) keeps from diverging: those whose
// proposals come from it. For a run without that option.
std::optional<std::string> ProposalNote(const RunResults& results, std::string_view boundedOption);
// From the coming rows made already (NextDeliveries).
std::optional<std::string> ProposalNote(const RunResults& results,
                                        const std::vector<NextDelivery>& next,
                                        std::string_view boundedOption);

// ProposalNote's text: kept of the diverged sales points have their proposals from the option.
std::string ProposalNoteOf(int kept, int diverged, std::string_view boundedOption);

// None when there are no coming periods.
std::optional<DecidedNow> DeliveriesDecidedNow(const RunResults& results,
                                               const std::vector<NextDelivery>& next);

}  // namespace sf
