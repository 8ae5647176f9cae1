#include "runtime/print_line.h"

#include <gtest/gtest.h>

#include "runtime/number_text.h"

namespace sf {
namespace {

// The column at which the next item would start.
std::size_t NextColumn(const PrintLine& line) {
    return line.Text().size() + 1;
}

TEST(PrintLine, ZonesStartAtColumnsFifteenTwentyNineFortyThree) {
    PrintLine line;
    line.Append("Sales Point");
    line.AdvanceToNextZone();
    EXPECT_EQ(NextColumn(line), 15u);
    line.Append("Lost Sale");
    line.AdvanceToNextZone();
    EXPECT_EQ(NextColumn(line), 29u);
    line.Append("Return");
    line.AdvanceToNextZone();
    EXPECT_EQ(NextColumn(line), 43u);
    line.Append("Sales");
    EXPECT_EQ(line.Text(), "Sales Point   Lost Sale     Return        Sales");
}

TEST(PrintLine, AZoneSeparatorAlwaysWritesASpace) {
    PrintLine empty;
    empty.AdvanceToNextZone();
    EXPECT_EQ(empty.Text(), std::string(14, ' '));

    PrintLine full;
    full.Append(std::string(14, 'x'));  // print position 15 is itself a zone start
    full.AdvanceToNextZone();
    EXPECT_EQ(NextColumn(full), 29u);
}

TEST(PrintLine, AnItemEndingTwoColumnsBeforeAZoneStartLeavesOneSpace) {
    PrintLine line;
    for (std::size_t lastColumn : {13u, 27u, 41u}) {
        line.Append(std::string(13, 'x'));
        ASSERT_EQ(line.Text().size(), lastColumn);
        line.AdvanceToNextZone();
        EXPECT_EQ(NextColumn(line), lastColumn + 2);
    }
}

TEST(PrintLine, AnEighteenCharacterItemPushesTheNextZone) {
    PrintLine line;
    line.Append(NumberText(1, NumberLocale{}));
    line.AdvanceToNextZone();
    line.Append(NumberText(12.3456789012345678, NumberLocale{}));  // columns 15..32
    line.AdvanceToNextZone();
    EXPECT_EQ(NextColumn(line), 43u);

    PrintLine ending28;
    ending28.Append(std::string(28, 'x'));
    ending28.AdvanceToNextZone();
    EXPECT_EQ(NextColumn(ending28), 43u);
}

}  // namespace
}  // namespace sf
