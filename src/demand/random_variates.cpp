#include "demand/random_variates.h"

#include <cmath>
#include <cstdint>

#include "runtime/run_error.h"

namespace sf {

bool IsDrawablePoissonMean(double lambda) {
    return std::isfinite(std::exp(lambda));
}

double PoissonVariate(double lambda, UniformSource& source) {
    const double u = source.Next();
    if (!(lambda > 0.0)) {
        return 0.0;  // the draw is still taken, so later draws do not shift
    }
    const double p = 1.0 / std::exp(lambda);
    double cumulative = p;
    double probability = p;
    std::int16_t k = 0;
    while (u > cumulative) {
        if (k == INT16_MAX) {
            throw RunError("the Poisson count passed 32767");
        }
        ++k;
        probability = probability * (lambda / k);
        cumulative = cumulative + probability;
    }
    return k;
}

double NormalVariate(UniformSource& source) {
    for (;;) {
        const double u1 = source.Next();
        double x = 0.0;
        double sign = 0.0;
        if (u1 < 0.5) {
            x = 2.0 * u1;
            sign = -1.0;
        } else {
            x = 2.0 * u1 - 1.0;
            sign = 1.0;
        }
        const double e = -std::log(1.0 - x);
        const double u2 = source.Next();
        // ln 0 is minus infinity, below any bound: a second draw of 0 accepts.
        if (std::log(u2) < (e - 0.5) - e * e / 2.0) {
            return sign * e;
        }
    }
}

}  // namespace sf
