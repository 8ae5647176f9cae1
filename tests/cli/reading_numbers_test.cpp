#include "cli/reading_numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace sf {
namespace {

TEST(ReadingNumbers, SixSignificantDigitsWithoutTrailingZeros) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {184.89999999999998, "184.9"},
        {1087.0, "1087"},
        {-1.0, "-1"},
        {0.0, "0"},
        {14089.123456, "14089.1"},
        {0.40352711, "0.403527"},
        {0.000012345678, "0.0000123457"},
        {-0.0000000000000000001, "0"},  // no "-0"
        {123456789.25, "123456789"},
        {2.5e15, "2.5e+15"},  // as the export writes it
        {std::numeric_limits<double>::infinity(), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadingText(c.value), c.text) << c.value;
    }
}

TEST(ReadingNumbers, RatesWithFourDecimals) {
    EXPECT_EQ(RateText(0.9266837169650469), "0.9267");
    EXPECT_EQ(RateText(1.0), "1.0000");
    EXPECT_EQ(RateText(-0.00001), "0.0000");
}

}  // namespace
}  // namespace sf
