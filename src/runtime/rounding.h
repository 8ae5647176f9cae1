#pragma once

#include <string>

namespace sf {

// The double nearest to x rounded to the given number of decimals, halves to even, decided on
// the exact binary value (2.675 is stored below the half and gives 2.67; 0.125 gives 0.12).
double RoundToDecimals(double x, int decimals);

// The decimal digits of a non-negative magnitude rounded to the given number of decimals with
// halves away from zero, decided on the exact value; "." before the decimals, if any.
std::string RoundHalfAwayDigits(double magnitude, int decimals);

}  // namespace sf
