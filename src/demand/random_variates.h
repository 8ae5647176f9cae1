#pragma once

#include "runtime/uniform_source.h"

namespace sf {

// Poisson count for the mean lambda by inversion; exactly one uniform draw per call. A mean of
// zero or less gives 0. The caller passes only means for which IsDrawablePoissonMean holds.
double PoissonVariate(double lambda, UniformSource& source);

// Standard normal value by rejection from the exponential with a random sign; two draws per
// attempt.
double NormalVariate(UniformSource& source);

// True when e^lambda is a finite double, so that PoissonVariate can start its inversion.
bool IsDrawablePoissonMean(double lambda);

}  // namespace sf
