#pragma once

#include <span>

namespace sf {

// How far a sales point's forecasts may stray from its demand before they are said to have
// diverged: with lo and hi the smallest and largest demand of periods 1..P and
// R = max(hi - lo, 1e-6 x max(1, |lo|, |hi|)), a forecast below lo - R or above hi + R, or a
// sigma of magnitude above R. A forecast that ran away leaves this band by far; constants that
// only graze 0 or 1 keep well within it.
struct DemandBand {
    double low = 0.0;    // lo - R
    double high = 0.0;   // hi + R
    double reach = 0.0;  // R
};

DemandBand BandOfDemand(std::span<const double> demand);

// Some forecast outside the band, or some sigma beyond its reach; a value that is no number
// counts as outside.
bool Diverged(const DemandBand& band, std::span<const double> forecast,
              std::span<const double> sigma);

// The periods whose sigma lies below -1e-6 R: below zero by more than rounding.
int NegativeSigmaPeriods(const DemandBand& band, std::span<const double> sigma);

// Whether a constant a period used lies outside 0..1.
bool LeftZeroToOne(std::span<const double> alpha, std::span<const double> beta);

}  // namespace sf
