#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "runtime/cell_formats.h"
#include "runtime/number_text.h"
#include "runtime/rounding.h"

namespace sf {
namespace {

const NumberLocale kCLocale;
const NumberLocale kGermanLocale{",", "."};

std::string RoundHalfAwayDigits(double magnitude, int decimals) {
    HalfAwayRounder rounder;
    const RoundedDigits digits = rounder.Round(magnitude, decimals);
    return std::string(digits.integer) + (decimals > 0 ? "." : "") + std::string(digits.decimals);
}
std::string FormatWholeCell(double value) {
    std::string cell;
    AppendWholeCell(cell, value);
    return cell;
}
std::string FormatTwoDecimalCell(double value, const NumberLocale& locale) {
    std::string cell;
    AppendTwoDecimalCell(cell, value, locale);
    return cell;
}
std::string FormatTwoDecimalNumber(double value, const NumberLocale& locale) {
    std::string cell;
    AppendTwoDecimalNumber(cell, value, locale);
    return cell;
}

// The rule written out on the exact decimal expansion of the double, as a reference.
std::string HalfAwayFromExactExpansion(double magnitude, int decimals) {
    std::array<char, 1500> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                   std::chars_format::fixed, 1100)
                         .ptr;
    std::string exact(buffer.data(), end);
    const std::size_t point = exact.find('.');
    std::string kept = exact.substr(0, point + (decimals > 0 ? decimals + 1 : 0));
    if (exact[point + decimals + 1] >= '5') {  // the rest is at least a half
        for (auto at = kept.rbegin(); at != kept.rend(); ++at) {
            if (*at == '.') {
                continue;
            }
            if (*at != '9') {
                ++*at;
                return kept;
            }
            *at = '0';
        }
        kept.insert(kept.begin(), '1');
    }
    return kept;
}

TEST(RoundToDecimals, HalvesGoToEvenOnTheExactValue) {
    EXPECT_EQ(RoundToDecimals(0.125, 2), 0.12);
    EXPECT_EQ(RoundToDecimals(0.375, 2), 0.38);
    EXPECT_EQ(RoundToDecimals(-0.125, 2), -0.12);
    EXPECT_EQ(RoundToDecimals(2.675, 2), 2.67);  // stored just below the half
    EXPECT_EQ(RoundToDecimals(2.5, 0), 2.0);
    EXPECT_EQ(RoundToDecimals(3.5, 0), 4.0);
    EXPECT_EQ(RoundToDecimals(23.4567851, 5), 23.45679);
    EXPECT_EQ(RoundToDecimals(1.0 / 3.0, 5), 0.33333);
}

TEST(RoundHalfAwayDigits, CarriesThroughNines) {
    EXPECT_EQ(RoundHalfAwayDigits(0.125, 2), "0.13");
    EXPECT_EQ(RoundHalfAwayDigits(9.875, 2), "9.88");
    EXPECT_EQ(RoundHalfAwayDigits(99.5, 0), "100");
    EXPECT_EQ(RoundHalfAwayDigits(999.995, 2), "1000.00");  // stored above the half
    EXPECT_EQ(RoundHalfAwayDigits(0.995, 2), "0.99");       // stored below the half
    EXPECT_EQ(RoundHalfAwayDigits(0.5, 0), "1");
    EXPECT_EQ(RoundHalfAwayDigits(2.675, 2), "2.67");
}

TEST(RoundHalfAwayDigits, AgreesWithTheExactExpansionEverywhere) {
    std::mt19937_64 random(7);
    std::vector<double> values = {0.0, 0x1p53 - 1.0, 0x1p53, 0x1p52 + 0.5, 4.9e-324, 1e300};
    for (int k = 0; k < 4000; ++k) {
        values.push_back(static_cast<double>(k) / 8.0);  // every half at two decimals
        values.push_back(static_cast<double>(k) / 200.0);
    }
    for (int draw = 0; draw < 20000; ++draw) {
        const double unit = std::uniform_real_distribution<double>(0.0, 1.0)(random);
        const int scale = std::uniform_int_distribution<int>(-12, 60)(random);
        values.push_back(std::ldexp(unit, scale));
    }
    for (double value : values) {
        for (int decimals : {0, 2, 3}) {
            ASSERT_EQ(RoundHalfAwayDigits(value, decimals),
                      HalfAwayFromExactExpansion(value, decimals))
                << value << " to " << decimals;
        }
    }
}

TEST(NumberText, SignSpaceDigitsAndTrailingSpace) {
    EXPECT_EQ(NumberText(3, kCLocale), " 3 ");
    EXPECT_EQ(NumberText(0.5, kCLocale), " 0.5 ");
    EXPECT_EQ(NumberText(-0.0, kCLocale), " 0 ");
    EXPECT_EQ(NumberText(0, kCLocale), " 0 ");
    EXPECT_EQ(NumberText(-1.25, kCLocale), "-1.25 ");
    EXPECT_EQ(NumberText(1828, kCLocale), " 1828 ");
    EXPECT_EQ(NumberText(26.29447, kCLocale), " 26.29447 ");
    EXPECT_EQ(NumberText(0.5, kGermanLocale), " 0,5 ");
}

TEST(NumberText, FifteenSignificantDigitsThenScientific) {
    EXPECT_EQ(NumberText(1.0 / 3.0, kCLocale), " 0.333333333333333 ");
    EXPECT_EQ(NumberText(123456789012345.6, kCLocale), " 123456789012346 ");
    EXPECT_EQ(NumberText(999999999999999.0, kCLocale), " 999999999999999 ");
    EXPECT_EQ(NumberText(1e15, kCLocale), " 1E+15 ");
    EXPECT_EQ(NumberText(-2.5e-5, kCLocale), "-2.5E-05 ");
    EXPECT_EQ(NumberText(0.0001, kCLocale), " 0.0001 ");
    EXPECT_EQ(NumberText(1.5e300, kCLocale), " 1.5E+300 ");
    EXPECT_EQ(NumberText(12.3456789012345678, kCLocale).size(), 18u);
}

TEST(WholeCell, TwoDigitsHalvesAwayAndTheSignOfTheValue) {
    EXPECT_EQ(FormatWholeCell(7), "07");
    EXPECT_EQ(FormatWholeCell(12), "12");
    EXPECT_EQ(FormatWholeCell(123), "123");
    EXPECT_EQ(FormatWholeCell(0), "00");
    EXPECT_EQ(FormatWholeCell(0.5), "01");
    EXPECT_EQ(FormatWholeCell(2.5), "03");
    EXPECT_EQ(FormatWholeCell(-3), "-03");
    EXPECT_EQ(FormatWholeCell(-0.3), "-00");
    EXPECT_EQ(FormatWholeCell(-2.5), "-03");
    EXPECT_EQ(FormatWholeCell(-0.0), "00");
}

TEST(TwoDecimalCell, TwoIntegerDigitsAndTheLocalesPoint) {
    EXPECT_EQ(FormatTwoDecimalCell(3.14159, kCLocale), "03.14");
    EXPECT_EQ(FormatTwoDecimalCell(12.5, kCLocale), "12.50");
    EXPECT_EQ(FormatTwoDecimalCell(0.125, kCLocale), "00.13");
    EXPECT_EQ(FormatTwoDecimalCell(2.675, kCLocale), "02.67");
    EXPECT_EQ(FormatTwoDecimalCell(123.456, kCLocale), "123.46");
    EXPECT_EQ(FormatTwoDecimalCell(-0.001, kCLocale), "-00.00");
    EXPECT_EQ(FormatTwoDecimalCell(-0.0, kCLocale), "00.00");
    EXPECT_EQ(FormatTwoDecimalCell(1234.5, kGermanLocale), "1234,50");  // never grouped
}

TEST(TwoDecimalNumber, LeadingZeroGroupingAndNegatives) {
    EXPECT_EQ(FormatTwoDecimalNumber(0.3, kCLocale), "0.30");
    EXPECT_EQ(FormatTwoDecimalNumber(-0.04, kCLocale), "-0.04");
    EXPECT_EQ(FormatTwoDecimalNumber(-0.001, kCLocale), "-0.00");
    EXPECT_EQ(FormatTwoDecimalNumber(-0.0, kCLocale), "0.00");
    EXPECT_EQ(FormatTwoDecimalNumber(1.97e-10, kCLocale), "0.00");
    EXPECT_EQ(FormatTwoDecimalNumber(1234567.125, kCLocale), "1234567.13");
    EXPECT_EQ(FormatTwoDecimalNumber(1234567.125, kGermanLocale), "1.234.567,13");
    EXPECT_EQ(FormatTwoDecimalNumber(999.999, NumberLocale{".", ","}), "1,000.00");
    EXPECT_EQ(FormatTwoDecimalNumber(123.4, NumberLocale{".", ","}), "123.40");
}

}  // namespace
}  // namespace sf
