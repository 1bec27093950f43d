#include <gtest/gtest.h>

#include <cstring>

#include "emulators/panelsim/core/ArmStatusLines.h"

namespace qs::panelsim {
namespace {

constexpr uint8_t kNone = ArmStatusLines::kNone;

display::ArmStatus Status(uint8_t arm, uint8_t flags, const char* text = nullptr) {
    display::ArmStatus s;
    s.arm = arm;
    s.flags = flags;
    if (text) {
        s.hasText = true;
        std::strncpy(s.text.data(), text, s.text.size() - 1);
    }
    return s;
}

// Arms at addresses 11, 12, ... in list order.
ArmStatusLines WithArms(size_t n) {
    ArmStatusLines lines;
    std::vector<uint8_t> arms;
    for (size_t i = 0; i < n; ++i) arms.push_back(static_cast<uint8_t>(11 + i));
    lines.SetArms(arms);
    return lines;
}

TEST(ArmStatusLinesSlots, AttentionFirstThenTheOthersSortedByDistanceAfterTheCurrentArm) {
    struct Row {
        size_t arms;
        size_t current;
        std::vector<size_t> attention;
        std::array<uint8_t, 5> slots;
    };
    const Row rows[] = {
        {3, 0, {}, {1, 2, kNone, kNone, kNone}},
        {3, 2, {}, {0, 1, kNone, kNone, kNone}},
        {8, 3, {}, {4, 5, 6, 7, 0}},
        // Arms 1 and 2 need attention: they are in, though four others come before them.
        {8, 3, {1, 2}, {4, 5, 6, 1, 2}},
        {8, 3, {3}, {4, 5, 6, 7, 0}},  // the current arm is never on a status line
        {1, 0, {}, {kNone, kNone, kNone, kNone, kNone}},
        {0, 0, {}, {kNone, kNone, kNone, kNone, kNone}},
    };
    for (const Row& row : rows) {
        ArmStatusLines lines = WithArms(row.arms);
        for (size_t i : row.attention) lines.Apply(Status(static_cast<uint8_t>(11 + i), ArmStatusLines::kAttention), row.current);
        lines.ComputeSlots(row.current, row.arms);
        EXPECT_EQ(lines.Slots(), row.slots) << row.arms << " arms, current " << row.current;
    }
}

TEST(ArmStatusLinesFlags, AttentionLockAndRequest) {
    ArmStatusLines lines = WithArms(3);
    EXPECT_EQ(lines.Text(0), "Line 1");
    EXPECT_EQ(lines.Text(4), "Line 5");
    lines.Apply(Status(12, 0x01), 0);
    lines.Apply(Status(12, 0x01), 0);
    lines.Apply(Status(13, 0x01), 0);
    EXPECT_EQ(lines.AttentionCount(), 2) << "an arm counts once";
    EXPECT_EQ(lines.AttentionMask(), 0b110u);
    lines.Apply(Status(12, 0x00), 0);
    EXPECT_EQ(lines.AttentionCount(), 1);

    lines.Apply(Status(12, 0x02), 0);
    EXPECT_FALSE(lines.F1Locked()) << "the lock is the current arm's only";
    lines.Apply(Status(11, 0x02), 0);
    EXPECT_TRUE(lines.F1Locked());
    lines.Apply(Status(11, 0x00), 0);
    EXPECT_FALSE(lines.F1Locked());

    lines.Apply(Status(13, 0x04), 0);
    EXPECT_EQ(lines.TakeRequest(), 2u);
    EXPECT_EQ(lines.TakeRequest(), std::nullopt);

    const uint32_t mask = lines.AttentionMask();
    lines.Apply(Status(99, 0x07, "nobody"), 0);
    lines.Apply(Status(0, 0x07), 0);
    EXPECT_EQ(lines.AttentionMask(), mask) << "addresses of no arm are ignored";
    EXPECT_EQ(lines.TakeRequest(), std::nullopt);
}

TEST(ArmStatusLinesText, GoesToEverySlotShowingTheArm) {
    ArmStatusLines lines = WithArms(3);
    lines.ComputeSlots(0, 3);
    lines.ClearTexts();
    EXPECT_EQ(lines.Text(0), "");
    const std::string longest(29, 'x');
    EXPECT_TRUE(lines.Apply(Status(13, 0, (longest + "yz").c_str()), 0));
    EXPECT_EQ(lines.Text(1), longest) << "29 characters at most";
    EXPECT_EQ(lines.Text(0), "");
    EXPECT_FALSE(lines.Apply(Status(11, 0, "current arm"), 0)) << "the current arm has no line";
    EXPECT_FALSE(lines.Apply(Status(12, 0), 0)) << "a poll reply carries no text";
    // Polled under another place, an address's records go there.
    lines.RecordPoll(13, 0);
    EXPECT_EQ(lines.IndexOf(13), 0);
}

}  // namespace
}  // namespace qs::panelsim
