#pragma once

#include <cmath>
#include <string_view>

#include "run/run_observer.h"
#include "run/run_state.h"

namespace sf {

inline constexpr std::string_view kBrentNotice = "Pause in routine BRENT - too many iterations";

// The magnitude of a with the sign of b, zero counting as positive.
inline double Sign(double a, double b) {
    return b >= 0.0 ? std::fabs(a) : -std::fabs(a);
}

// Brent's minimisation of f from the starting points ax, bx (the middle one) and cx, with the
// absolute tolerance 1e-10 and at most 100 iterations after the starting evaluation. Returns
// the best point; f is never evaluated again there, so what its last trial left stays.
template <class Criterion>
double BrentMinimise(double ax, double bx, double cx, Criterion&& f, RunObserver& observer) {
    constexpr double kGoldenFraction = 0.381966;
    constexpr int kIterationLimit = 100;
    double a = ax < cx ? ax : cx;
    double b = ax > cx ? ax : cx;
    double x = bx;
    double w = bx;
    double v = bx;
    double e = 0.0;
    double d = 0.0;
    double fx = f(x);
    double fw = fx;
    double fv = fx;
    for (int iteration = 1; iteration <= kIterationLimit; ++iteration) {
        const double xm = 0.5 * (a + b);
        const double tol1 = 1e-10;
        const double tol2 = 2.0 * tol1;
        if (std::fabs(x - xm) <= tol2 - 0.5 * (b - a)) {
            return x;
        }
        bool golden = true;
        if (std::fabs(e) > tol1) {
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0.0) {
                p = -p;
            }
            q = std::fabs(q);
            const double etemp = e;
            e = d;
            const bool rejected =
                std::fabs(p) >= std::fabs(0.5 * q * etemp) || p <= q * (a - x) || p >= q * (b - x);
            if (!rejected) {
                d = p / q;
                const double provisional = x + d;
                if (provisional - a < tol2 || b - provisional < tol2) {
                    d = Sign(tol1, xm - x);
                }
                golden = false;
            }
        }
        if (golden) {
            e = x >= xm ? a - x : b - x;
            d = kGoldenFraction * e;
        }
        const double u = std::fabs(d) >= tol1 ? x + d : x + Sign(tol1, d);
        const double fu = f(u);
        if (fu <= fx) {
            if (u >= x) {
                a = x;
            } else {
                b = x;
            }
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            if (u < x) {
                a = u;
            } else {
                b = u;
            }
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    observer.ShowNotice(kBrentNotice);
    return x;
}

// The four searches: over 0, 0.5, 1 with the window S + 1..S + A, or within 0.1 of the
// previous constant with the window S + 1..windowEnd.
double BrentAlphaInitial(RunState& state, RunObserver& observer, int salesPoint);
double BrentBetaInitial(RunState& state, RunObserver& observer, int salesPoint);
double BrentAlphaUpdate(RunState& state, RunObserver& observer, int salesPoint, int windowEnd,
                        double previous);
double BrentBetaUpdate(RunState& state, RunObserver& observer, int salesPoint, int windowEnd,
                       double previous);

}  // namespace sf
