#include "results/next_deliveries.h"

#include <span>

#include "outcome/period_outcome.h"
#include "results/divergence.h"

namespace sf {
namespace {

std::optional<double> DeliveryAt(const std::optional<double>& tau, double forecast, double sigma) {
    return tau ? std::optional<double>(DeliveryOf(forecast, sigma, *tau)) : std::nullopt;
}

std::optional<double> TauOf(const std::optional<TargetAnswer>& answer) {
    return answer ? answer->tau : std::nullopt;
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
            for (const AnsweredTau& tau : kAnsweredTaus) {
                row.delivery.*tau.value = DeliveryAt(taus.*tau.value, row.forecast, row.sigma);
            }
            row.diverged = !results.figures.sound[at] ||
                           Diverged(band, std::span(&row.forecast, 1), std::span(&row.sigma, 1));
            next.push_back(row);
        }
    }
    return next;
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
        if (row.period != now.period || !results.figures.sound[row.salesPoint - 1]) {
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
