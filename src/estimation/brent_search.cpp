#include "estimation/brent_search.h"

#include <cmath>

namespace sf {
BrentSearch::BrentSearch(double ax, double bx, double cx)
    : a_(ax < cx ? ax : cx), b_(ax > cx ? ax : cx), x_(bx), w_(bx), v_(bx), trial_(bx) {}

bool BrentSearch::Take(double value) {
    if (iteration_ == 0) {
        fx_ = value;
        fw_ = fx_;
        fv_ = fx_;
    } else {
        TakeTrial(trial_, value);
    }
    ++iteration_;
    if (iteration_ > kBrentIterationLimit) {
        return false;  // the test is not made again after the last evaluation
    }
    return NextTrialOrConverged();
}

bool BrentSearch::NextTrialOrConverged() {
    const double xm = 0.5 * (a_ + b_);
    const double tol1 = kBrentTolerance;
    const double tol2 = 2.0 * tol1;
    if (std::fabs(x_ - xm) <= tol2 - 0.5 * (b_ - a_)) {
        return false;
    }
    bool golden = true;
    if (std::fabs(e_) > tol1) {
        const double r = (x_ - w_) * (fx_ - fv_);
        double q = (x_ - v_) * (fx_ - fw_);
        double p = (x_ - v_) * q - (x_ - w_) * r;
        q = 2.0 * (q - r);
        if (q > 0.0) {
            p = -p;
        }
        q = std::fabs(q);
        const double etemp = e_;
        e_ = d_;
        const bool rejected =
            std::fabs(p) >= std::fabs(0.5 * q * etemp) || p <= q * (a_ - x_) || p >= q * (b_ - x_);
        if (!rejected) {
            d_ = p / q;
            const double provisional = x_ + d_;
            if (provisional - a_ < tol2 || b_ - provisional < tol2) {
                d_ = Sign(tol1, xm - x_);
            }
            golden = false;
        }
    }
    if (golden) {
        e_ = x_ >= xm ? a_ - x_ : b_ - x_;
        d_ = kGoldenFraction * e_;
    }
    trial_ = std::fabs(d_) >= tol1 ? x_ + d_ : x_ + Sign(tol1, d_);
    return true;
}

void BrentSearch::TakeTrial(double u, double fu) {
    if (fu <= fx_) {  // at least as good as the best point
        if (u >= x_) {
            a_ = x_;
        } else {
            b_ = x_;
        }
        v_ = w_;
        fv_ = fw_;
        w_ = x_;
        fw_ = fx_;
        x_ = u;
        fx_ = fu;
        return;
    }
    if (u < x_) {
        a_ = u;
    } else {
        b_ = u;
    }
    if (fu <= fw_ || w_ == x_) {
        v_ = w_;
        fv_ = fw_;
        w_ = u;
        fw_ = fu;
    } else if (fu <= fv_ || v_ == x_ || v_ == w_) {
        v_ = u;
        fv_ = fu;
    }
}

}  // namespace sf
