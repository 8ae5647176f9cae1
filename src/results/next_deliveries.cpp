#include "results/next_deliveries.h"

#include <algorithm>
#include <span>

#include "outcome/period_outcome.h"
#include "results/divergence.h"
#include "results/number_cells.h"

namespace sf {
namespace {

std::optional<double> DeliveryAt(const std::optional<double>& tau, double forecast, double sigma) {
    return tau ? std::optional<double>(DeliveryOf(forecast, sigma, *tau)) : std::nullopt;
}

std::optional<double> TauOf(const std::optional<TargetAnswer>& answer) {
    return answer ? answer->tau : std::nullopt;
}

// A sales point's proposals: the run's own deliveries where none of its rows diverged, else the
// bounded run's; none where that is not known.
void ProposeFor(std::span<NextDelivery> rows, const Proposal* proposal) {
    const bool anyDiverged =
        std::ranges::any_of(rows, [](const NextDelivery& row) { return row.diverged; });
    for (NextDelivery& row : rows) {
        // Only a run with the constants within 0 and 1 proposes for a diverged sales point.
        row.proposalFrom = !anyDiverged ? ProposalSource::run
                           : proposal && proposal->from == ProposalSource::constants01
                               ? ProposalSource::constants01
                               : ProposalSource::none;
        if (row.proposalFrom == ProposalSource::run) {
            row.proposal = row.delivery.run;
        } else if (row.proposalFrom == ProposalSource::constants01) {
            row.proposal = proposal->delivery.At(row.period);
        }
    }
}

}  // namespace

AtTaus DeliveryTaus(const RunResults& results) {
    const EvaluationAnswers& answers = results.Answers(Evaluation::asForecast);
    AtTaus taus;
    taus.run = results.series.tau;
    taus.target = TauOf(answers.target);
    taus.serviceLevel = TauOf(answers.serviceLevelTarget);
    if (answers.cheapest) {
        taus.cheapest = answers.cheapest->tau;
    }
    taus.cost = TauOf(answers.costTarget);
    return taus;
}

std::vector<NextDelivery> NextDeliveries(const RunResults& results) {
    const RunSeries& series = results.series;
    const PeriodStretch coming = series.comingPeriods;
    const AtTaus taus = DeliveryTaus(results);
    std::vector<NextDelivery> next;
    next.reserve(series.salesPoints.size() * static_cast<std::size_t>(coming.Length()));
    for (std::size_t at = 0; at < series.salesPoints.size(); ++at) {
        const SalesPointSeries& point = series.salesPoints[at];
        const DemandBand band = BandOfDemand(point.demand.values);
        for (int t = coming.first; t <= coming.last; ++t) {
            NextDelivery row;
            row.salesPoint = static_cast<int>(at) + 1;
            row.period = t;
            row.decidedAt = static_cast<int>(*point.coming.decidedAt.At(t));
            row.forecast = *point.coming.forecast.At(t);
            row.sigma = *point.coming.sigma.At(t);
            row.delivery.run = *point.coming.delivery.At(t);
            row.diverged = !results.figures.sound[at] ||
                           Diverged(band, std::span(&row.forecast, 1), std::span(&row.sigma, 1));
            next.push_back(row);
        }
        ProposeFor(std::span(next).last(static_cast<std::size_t>(coming.Length())),
                   at < results.proposals.size() ? &results.proposals[at] : nullptr);
    }
    DeliverAtAnsweredTaus(next, taus);
    return next;
}

void DeliverAtAnsweredTaus(std::vector<NextDelivery>& rows, const AtTaus& taus) {
    for (NextDelivery& row : rows) {
        for (const AnsweredTau& tau : kAnsweredTaus) {
            row.delivery.*tau.value = DeliveryAt(taus.*tau.value, row.forecast, row.sigma);
        }
    }
}

std::vector<int> DivergedComingSalesPoints(const std::vector<NextDelivery>& next) {
    std::vector<int> salesPoints;
    for (const NextDelivery& row : next) {
        if (row.diverged && (salesPoints.empty() || salesPoints.back() != row.salesPoint)) {
            salesPoints.push_back(row.salesPoint);
        }
    }
    return salesPoints;
}

std::string ProposalsTotalText(const DecidedNow& now) {
    std::string text = "Proposals of the " + std::to_string(now.salesPoints) +
                       " sales points at the run's tau: " + ShortestText(now.proposals) + " (" +
                       std::to_string(now.proposalsFromConstants01) +
                       " from constants within 0 and 1";
    if (now.withoutProposal > 0) {
        text += ", " + std::to_string(now.withoutProposal) +
                " without one, as they diverge with those constants too";
    }
    return text + ")";
}

std::optional<std::string> ProposalNote(const RunResults& results, std::string_view boundedOption) {
    return ProposalNote(results, NextDeliveries(results), boundedOption);
}

std::optional<std::string> ProposalNote(const RunResults& results,
                                        const std::vector<NextDelivery>& next,
                                        std::string_view boundedOption) {
    const std::vector<int> diverged = DivergedComingSalesPoints(next);
    if (diverged.empty()) {
        return std::nullopt;
    }
    const auto kept = std::ranges::count_if(diverged, [&results](int salesPoint) {
        const std::size_t at =
            static_cast<std::size_t>(salesPoint - results.series.firstSalesPoint);
        return at < results.proposals.size() &&
               results.proposals[at].from == ProposalSource::constants01;
    });
    return ProposalNoteOf(static_cast<int>(kept), static_cast<int>(diverged.size()), boundedOption);
}

std::string ProposalNoteOf(int kept, int diverged, std::string_view boundedOption) {
    return "The option " + std::string(boundedOption) + " keeps " + std::to_string(kept) +
           " of the " + std::to_string(diverged) +
           " sales points whose coming deliveries diverged from diverging: their proposals come "
           "from it (proposal_from constants_0_1).";
}

std::optional<DecidedNow> DeliveriesDecidedNow(const RunResults& results,
                                               const std::vector<NextDelivery>& next) {
    if (results.series.comingPeriods.Empty()) {
        return std::nullopt;
    }
    DecidedNow now;
    now.period = results.series.comingPeriods.last;
    const AtTaus taus = DeliveryTaus(results);
    for (const AnsweredTau& tau : kAnsweredTaus) {
        if (taus.*tau.value) {
            now.total.*tau.value = 0.0;
        }
    }
    for (const NextDelivery& row : next) {
        if (row.period != now.period) {
            continue;
        }
        ++now.salesPoints;
        if (row.proposal) {
            now.proposals = now.proposals + *row.proposal;
        }
        now.proposalsFromConstants01 += row.proposalFrom == ProposalSource::constants01 ? 1 : 0;
        now.withoutProposal += row.proposalFrom == ProposalSource::none ? 1 : 0;
        if (!results.figures.sound[row.salesPoint - 1]) {
            continue;
        }
        ++now.soundSalesPoints;
        now.total.run = now.total.run + row.delivery.run;
        for (const AnsweredTau& tau : kAnsweredTaus) {
            std::optional<double>& sum = now.total.*tau.value;
            if (sum) {
                sum = *sum + *(row.delivery.*tau.value);
            }
        }
    }
    return now;
}

}  // namespace sf
