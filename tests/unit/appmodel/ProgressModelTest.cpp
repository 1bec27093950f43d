#include "appmodel/common/ProgressModel.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace qs::test {

TEST(ProgressModel, PercentIsTakenInSixtyFourBitsFromPositionMinusLower) {
    // A firmware image is stepped per byte: pos * 100 passes INT_MAX past 21,474,836 bytes.
    ProgressModel m("Firmware");
    m.SetRange(0, 21000000, 1);
    EXPECT_TRUE(m.SetPos(10500000).captionChanged);
    EXPECT_EQ(m.LastPercent(), 50);
    m.SetPos(20999999);
    EXPECT_EQ(m.LastPercent(), 99);
    m.SetPos(21000000);
    EXPECT_EQ(m.LastPercent(), 100);
    EXPECT_EQ(m.Caption(), "Firmware [100%]");

    m.SetRange(0, 30000000, 1);
    m.SetPos(22000000);
    EXPECT_EQ(m.LastPercent(), 73);
    m.SetRange(INT_MIN, INT_MAX, 1);
    m.SetPos(0);
    EXPECT_EQ(m.LastPercent(), 50);

    // A range that does not start at 0 counts from its lower end.
    m.SetRange(1000, 1100, 1);
    m.SetPos(1050);
    EXPECT_EQ(m.LastPercent(), 50);
    EXPECT_EQ(m.Caption(), "Firmware [50%]");
    m.SetRange(-200, -100, 1);
    m.SetPos(-125);
    EXPECT_EQ(m.LastPercent(), 75);

    // Outside the range the caption stays within 0..100.
    EXPECT_EQ(ProgressModel::PercentOf(500, 0, 100), 100);
    EXPECT_EQ(ProgressModel::PercentOf(-5, 0, 100), 0);
    EXPECT_EQ(ProgressModel::PercentOf(7, 10, 3), 0);
}

TEST(ProgressModel, CaptionChangesOncePerPercent) {
    ProgressModel m("Reading");
    EXPECT_EQ(m.Caption(), "Reading");
    m.SetRange(0, 1000, 1);
    EXPECT_FALSE(m.SetPos(5).captionChanged);  // still 0 %, the caption keeps the bare title
    EXPECT_EQ(m.Caption(), "Reading");

    auto first = m.SetPos(500);
    EXPECT_TRUE(first.captionChanged);
    EXPECT_EQ(first.previous, 5);
    EXPECT_EQ(m.Caption(), "Reading [50%]");
    auto second = m.SetPos(509);
    EXPECT_FALSE(second.captionChanged);
    EXPECT_EQ(second.previous, 500);
    EXPECT_EQ(m.Caption(), "Reading [50%]");

    // Stepping through 0..1000 by 1 redraws the caption once for each of 1..100 %.
    m.SetPos(0);
    int changes = 0;
    for (int i = 0; i < 1000; ++i) changes += m.StepIt().captionChanged ? 1 : 0;
    EXPECT_EQ(changes, 100);
    EXPECT_EQ(m.Position(), 1000);

    m.SetRange(0, 10, 3);
    m.SetPos(0);
    EXPECT_EQ(m.OffsetPos(4).previous, 0);
    EXPECT_EQ(m.StepIt().previous, 4);
    EXPECT_EQ(m.Position(), 7);
    EXPECT_EQ(m.Caption(), "Reading [70%]");
}

TEST(ProgressModel, EqualRangeEndsHideTheBarAndNeverMoveTheCaption) {
    ProgressModel m("");
    EXPECT_EQ(m.Title(), "Progress");
    EXPECT_TRUE(m.BarVisible());  // 0..100 at start
    m.SetRange(42, 42, 1);
    EXPECT_FALSE(m.BarVisible());
    for (int pos : {0, 42, 43, 1000000, -7}) EXPECT_FALSE(m.SetPos(pos).captionChanged) << pos;
    EXPECT_EQ(m.Caption(), "Progress");
    EXPECT_EQ(m.BarValue(), 0);
    m.SetRange(0, 1, 1);
    EXPECT_TRUE(m.BarVisible());
}

TEST(ProgressModel, BarValueFitsTheGaugeForAnyRange) {
    ProgressModel m("x");
    m.SetRange(0, 250, 1);
    m.SetPos(100);
    EXPECT_EQ(m.BarRange(), 250);
    EXPECT_EQ(m.BarValue(), 100);
    m.SetPos(999);  // past the end: held at the end, never beyond the gauge's range
    EXPECT_EQ(m.BarValue(), 250);
    m.SetPos(-3);
    EXPECT_EQ(m.BarValue(), 0);

    m.SetRange(0, 21000000, 1);
    m.SetPos(10500000);
    EXPECT_EQ(m.BarRange(), ProgressModel::kBarScale);
    EXPECT_EQ(m.BarValue(), ProgressModel::kBarScale / 2);
    m.SetRange(INT_MIN, INT_MAX, 1);
    m.SetPos(INT_MAX);
    EXPECT_EQ(m.BarValue(), ProgressModel::kBarScale);
}

TEST(ProgressModel, PositionSaturatesInsteadOfOverflowing) {
    ProgressModel m("x");
    m.SetRange(0, INT_MAX, INT_MAX);
    m.SetPos(INT_MAX - 1);
    m.StepIt();
    EXPECT_EQ(m.Position(), INT_MAX);
    m.OffsetPos(INT_MAX);
    EXPECT_EQ(m.Position(), INT_MAX);
    m.SetPos(INT_MIN + 1);
    m.OffsetPos(-10);
    EXPECT_EQ(m.Position(), INT_MIN);
}

TEST(ProgressModel, TextIsShownAsItStandsAndCutWhenLong) {
    ProgressModel m("x");
    // Text from the device is data, never a format.
    EXPECT_EQ(m.SetText("%s%n%d %%"), "%s%n%d %%");

    const std::string ascii(600, 'A');
    EXPECT_EQ(m.SetText(ascii), std::string(ProgressModel::kMaxTextBytes, 'A'));
    EXPECT_EQ(m.Text().size(), 511u);

    // Two-byte UTF-8 characters: byte 511 would split one, so the cut falls before it.
    std::string utf8 = "a";
    for (int i = 0; i < 300; ++i) utf8 += "\xC3\xA9";
    EXPECT_EQ(m.SetText(utf8).size(), 511u);  // 'a' + 255 whole characters
    utf8.erase(0, 1);
    EXPECT_EQ(m.SetText(utf8).size(), 510u);
    EXPECT_EQ(m.Text().back(), '\xA9');

    // Code-page text (0xE9 is one character there) is cut at a byte.
    const std::string cp1252(600, '\xE9');
    EXPECT_EQ(m.SetText(cp1252).size(), 511u);

    // A text ends at its first NUL, as the window would show it.
    EXPECT_EQ(m.SetText(std::string("Sending\0garbage", 15)), "Sending");
    EXPECT_EQ(m.SetText(""), "");
}

TEST(ProgressModel, CancelledStaysSet) {
    ProgressModel m("x");
    EXPECT_FALSE(m.Cancelled());
    m.Cancel();
    m.SetRange(0, 10, 1);
    m.SetPos(3);
    m.SetText("again");
    EXPECT_TRUE(m.Cancelled());
}

}  // namespace qs::test
