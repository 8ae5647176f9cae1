#pragma once

#include <algorithm>
#include <cmath>

namespace sf {

// The constants of every Brent search, plain or in lanes.
inline constexpr int kBrentIterationLimit = 100;  // trials after the starting evaluation
inline constexpr double kBrentTolerance = 1e-10;  // absolute; nothing relative to x
inline constexpr double kGoldenFraction = 0.381966;
inline constexpr double kUpdateHalfWidth = 0.1;  // the bracket of an update search, either side

// The starting points of an update search around the stored previous constant c: a tenth
// either side, or, with bounded constants, clipped to 0..1.
struct UpdateBracket {
    double low, centre, high;
};
inline UpdateBracket UpdateBracketAround(double c, bool bounded) {
    const double low = c - kUpdateHalfWidth;
    const double high = c + kUpdateHalfWidth;
    if (!bounded) {
        return {low, c, high};
    }
    return {std::max(0.0, low), c, std::min(1.0, high)};
}

// The magnitude of a with the sign of b, zero counting as positive.
inline double Sign(double a, double b) {
    return b >= 0.0 ? std::fabs(a) : -std::fabs(a);
}

// One Brent minimisation as a resumable state machine: the caller evaluates Trial() and hands
// the value to Take() until it returns false. The plain estimation drives it; the lanes take
// the same steps in their own kernels (LaneSearchStep), which the tests hold to it bit for bit.
class BrentSearch {
  public:
    // Starting points ax, bx (the middle one, evaluated first) and cx.
    BrentSearch(double ax, double bx, double cx);

    // The point whose criterion value Take() expects next.
    double Trial() const { return trial_; }
    // Takes the criterion value at Trial(); true while a further trial is wanted.
    bool Take(double value);
    // The best point found: the answer once Take() has returned false.
    double Result() const { return x_; }
    // True when the search ended by its iteration limit rather than by convergence.
    bool IterationLimitReached() const { return iteration_ > kBrentIterationLimit; }

  private:
    bool NextTrialOrConverged();
    void TakeTrial(double u, double fu);

    double a_, b_;
    double x_, w_, v_;
    double fx_ = 0.0, fw_ = 0.0, fv_ = 0.0;
    double e_ = 0.0, d_ = 0.0;
    double trial_;
    int iteration_ = 0;  // 0 until the starting evaluation has been taken
};

}  // namespace sf
