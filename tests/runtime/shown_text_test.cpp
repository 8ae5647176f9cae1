#include "runtime/shown_text.h"

#include <gtest/gtest.h>

#include "runtime/run_error.h"

namespace sf {
namespace {

// What a message quotes from a box or a file never acts on the terminal: control characters and
// bytes that are not UTF-8 are shown as escapes; text, line ends and every language stay.
TEST(ShownEscaped, EscapesWhatATerminalWouldActOn) {
    const std::pair<std::string, std::string> cases[] = {
        {"Tau (\xCF\x84): \"1,5\" \xE2\x80\xA6", "Tau (\xCF\x84): \"1,5\" \xE2\x80\xA6"},
        {"two\nlines", "two\nlines"},
        {"\x1B[31mred", "\\x1B[31mred"},
        {"tab\there\r", "tab\\x09here\\x0D"},
        {std::string("nul\0", 4), "nul\\x00"},
        {"\x7F", "\\x7F"},
        {"\xC2\x9B"
         "2J",
         "\\xC2\\x9B2J"},  // the one-character CSI
        {"\xFF\xFE", "\\xFF\\xFE"},
        {"cut \xE2\x82", "cut \\xE2\\x82"},
        {"\xC0\xAF", "\\xC0\\xAF"},           // a slash in too many bytes
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},  // half of a UTF-16 pair
        {"\xF0\x9F\x93\x88", "\xF0\x9F\x93\x88"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(ShownEscaped(text), shown);
    }
}

// A refusal that quotes a box holding a NUL byte or an escape sequence is whole and escaped
// wherever it is shown, by what(), the window or the terminal.
TEST(ShownEscaped, ARunErrorIsWholeAndEscapedFromTheStart) {
    const std::string typed("0.5\0; rm \x1B[2J", 13);
    const RunError refusal("--tau: \"" + typed + "\" is not a number");
    EXPECT_STREQ(refusal.what(), "--tau: \"0.5\\x00; rm \\x1B[2J\" is not a number");
    EXPECT_EQ(ShownEscaped(refusal.what()), refusal.what());  // escaped once, not twice
}

}  // namespace
}  // namespace sf
