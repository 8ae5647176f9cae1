#include "runtime/text_to_number.h"

#include <gtest/gtest.h>

namespace sf {
namespace {

const NumberLocale kC;
const NumberLocale kComma{",", "."};

TEST(TextToDouble, AcceptsTheShapesAUserTypes) {
    EXPECT_EQ(TextToDouble(" 3 ", kC), 3.0);
    EXPECT_EQ(TextToDouble("\t1", kC), 1.0);
    EXPECT_EQ(TextToDouble("+4", kC), 4.0);
    EXPECT_EQ(TextToDouble("-1.5", kC), -1.5);
    EXPECT_EQ(TextToDouble("6.", kC), 6.0);
    EXPECT_EQ(TextToDouble(".5", kC), 0.5);
    EXPECT_EQ(TextToDouble("2.4e1", kC), 24.0);
    EXPECT_EQ(TextToDouble("3E0", kC), 3.0);
    EXPECT_EQ(TextToDouble("1e-2", kC), 0.01);
    EXPECT_EQ(TextToDouble("0e999", kC), 0.0);
}

TEST(TextToDouble, RejectsWhatIsNoNumber) {
    for (const char* text : {"", "   ", "abc", ".", "+", "1e", "1e+", "1..2", "1.2.3", "- 1", "1 2",
                             "0x10", "inf", "nan", "1,5", "12abc", "e5"}) {
        EXPECT_FALSE(TextToDouble(text, kC).has_value()) << '"' << text << '"';
        EXPECT_EQ(NotANumberReason(text, kC), kNotANumber) << '"' << text << '"';
    }
}

// And says which: a number too large is no typing mistake.
TEST(TextToDouble, RejectsValuesADoubleCannotHoldButKeepsSubnormals) {
    const std::string_view large = "is a number too large to hold";
    const std::string_view small = "is a number too close to 0 to hold";
    const std::pair<std::string, std::string_view> cases[] = {
        {"1e999", large},
        {"-1e999", large},
        {" 0.001e312", large},
        {"2e308", large},
        {"1" + std::string(400, '0'), large},
        {"1e-400", small},
        {"-1e-400", small},
        {"123e-330", small},
        {"0.00001e-320", small},
        {"1e-99999999999999", small},
    };
    for (const auto& [text, reason] : cases) {
        EXPECT_FALSE(TextToDouble(text, kC).has_value()) << text;
        EXPECT_EQ(NotANumberReason(text, kC), reason) << text;
    }
    EXPECT_EQ(TextToDouble("1e-310", kC), 1e-310);
}

TEST(TextToDouble, UsesTheLocalesDecimalSeparatorOnly) {
    EXPECT_EQ(TextToDouble("2,5", kComma), 2.5);
    EXPECT_FALSE(TextToDouble("2.5", kComma).has_value());
    EXPECT_FALSE(TextToDouble("2,5", kC).has_value());
}

TEST(TextToInt16, RoundsHalvesToEven) {
    EXPECT_EQ(TextToInt16("2.5", kC).value, 2);
    EXPECT_EQ(TextToInt16("3.5", kC).value, 4);
    EXPECT_EQ(TextToInt16("-2.5", kC).value, -2);
    EXPECT_EQ(TextToInt16("2.4e1", kC).value, 24);
}

TEST(TextToInt16, KeepsToSixteenBits) {
    EXPECT_EQ(TextToInt16("32767", kC).status, IntegerTextStatus::ok);
    EXPECT_EQ(TextToInt16("-32768", kC).value, -32768);
    EXPECT_EQ(TextToInt16("-32768.5", kC).value, -32768);  // halves to even stay inside
    EXPECT_EQ(TextToInt16("32768", kC).status, IntegerTextStatus::outOfRange);
    EXPECT_EQ(TextToInt16("32767.5", kC).status, IntegerTextStatus::outOfRange);
    EXPECT_EQ(TextToInt16("-32769", kC).status, IntegerTextStatus::outOfRange);
    EXPECT_EQ(TextToInt16("1e300", kC).status, IntegerTextStatus::outOfRange);
    EXPECT_EQ(TextToInt16("abc", kC).status, IntegerTextStatus::notANumber);
}

}  // namespace
}  // namespace sf
