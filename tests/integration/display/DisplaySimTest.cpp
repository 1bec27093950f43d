#include <gtest/gtest.h>

#include "DisplaySimRig.h"

namespace qs::display::sim_test {
namespace {

using qs::test::SimFrame;

int Inked(const Framebuffer& fb) {
    int n = 0;
    for (uint8_t p : fb.Pixels()) n += p != 0;
    return n;
}

// The replies the simulator logged, each with what it found wrong.
std::vector<std::string> Replies(const std::vector<SimFrame>& keys) {
    std::vector<std::string> out;
    for (const SimFrame& k : keys) {
        if (k.text.rfind("reply ", 0) == 0) out.push_back(k.text + (k.error.empty() ? "" : " [" + k.error + "]"));
    }
    return out;
}

const std::vector<std::string> kAllReplies{"reply F0", "reply FB", "reply 06", "reply 06", "reply 06",
                                           "reply F1", "reply 06", "reply F1", "reply 06"};

TEST(DisplaySimTcp, DemoScreensArriveAndAKeyComesBackOnTheScreen) {
    DisplaySimRig rig({});
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.ScriptDone(); }));
    EXPECT_TRUE(rig.errors.empty());
    EXPECT_EQ(rig.badEnds, 0);
    for (uint16_t id = 1; id <= 16; ++id) EXPECT_NE(rig.Object(id), nullptr) << id;
    EXPECT_EQ(rig.Object(3)->payload, (std::vector<uint8_t>{0xD2, 0x04, 0, 0, 0}));  // 1234, reversed to our order
    EXPECT_GT(Inked(rig.Engine().GetFramebuffer(0)), 500);

    rig.Link().SendKeyFrame('A');
    ASSERT_TRUE(rig.WaitForKeys(1));
    const std::vector<SimFrame> keys = rig.Keys();
    ASSERT_EQ(keys.size(), 1u);  // not master: no replies to the control frames
    EXPECT_EQ(keys[0].text, "key 41");
    EXPECT_EQ(keys[0].error, "");
    EXPECT_TRUE(rig.RunUntil([&] { return rig.Object(15)->payload == TextPayload("Key: A"); }));
    EXPECT_EQ(rig.Object(3)->payload, (std::vector<uint8_t>{0xD3, 0x04, 0, 0, 0}));
}

TEST(DisplaySimTcp, MasterRepliesAreCheckedInOrder) {
    DisplaySimRig rig({.master = true, .args = {"--display-master"}});
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.ScriptDone(); }));
    ASSERT_TRUE(rig.WaitForKeys(kAllReplies.size()));
    EXPECT_EQ(Replies(rig.Keys()), kAllReplies);
}

// One row per display fault: what the core must make of it, and the replies the simulator
// then checks (the link answers as master).
struct FaultRow {
    const char* name;
    std::vector<std::string> args;
    std::function<void(DisplaySimRig&)> check;
    std::vector<std::string> replies;
};

class DisplaySimFault : public testing::TestWithParam<FaultRow> {};

TEST_P(DisplaySimFault, CoreKeepsItsFooting) {
    const FaultRow& row = GetParam();
    std::vector<std::string> args{"--display-master"};
    for (const std::string& a : row.args) {
        args.push_back("--display-fault");
        args.push_back(a);
    }
    DisplaySimRig rig({.master = true, .args = args});
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.ScriptDone(); }, std::chrono::seconds(20)));
    row.check(rig);
    ASSERT_TRUE(rig.WaitForKeys(row.replies.size()));
    EXPECT_EQ(Replies(rig.Keys()), row.replies);
    // The link still works both ways.
    rig.Link().SendKeyFrame('7');
    EXPECT_TRUE(rig.RunUntil([&] { return rig.Object(15)->payload == TextPayload("Key: 7"); }));
}

std::vector<std::string> WithoutCheckAck() {
    std::vector<std::string> r = kAllReplies;
    r.erase(r.begin() + 3);
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    EachFault, DisplaySimFault,
    testing::Values(
        FaultRow{"SplitWrites", {"split=7"}, [](DisplaySimRig& r) { EXPECT_TRUE(r.errors.empty()); }, kAllReplies},
        FaultRow{"ShortStall", {"stall=1000"}, [](DisplaySimRig& r) { EXPECT_NE(r.Object(1), nullptr); }, kAllReplies},
        FaultRow{"StallPastTheFrameDeadline", {"stall=4000"},
                 [](DisplaySimRig& r) {
                     EXPECT_EQ(r.Object(1), nullptr);  // given up after 3 s
                     EXPECT_NE(r.Object(2), nullptr);
                 },
                 kAllReplies},
        FaultRow{"OversizePayload", {"oversize"},
                 [](DisplaySimRig& r) {
                     EXPECT_EQ(r.errors, std::vector<int>{DisplayLink::kPayloadTooLong});
                     EXPECT_EQ(r.Object(40), nullptr);
                 },
                 kAllReplies},
        FaultRow{"BadEndMarker", {"bad-end"},
                 [](DisplaySimRig& r) {
                     EXPECT_EQ(r.badEnds, 1);
                     EXPECT_EQ(r.Object(41), nullptr);
                 },
                 kAllReplies},
        FaultRow{"BadCrc", {"bad-crc"},
                 [](DisplaySimRig& r) { EXPECT_EQ(r.errors, std::vector<int>{DisplayLink::kCrcMismatch}); },
                 WithoutCheckAck()},
        FaultRow{"HostileObjects", {"hostile"},
                 [](DisplaySimRig& r) {
                     EXPECT_TRUE(r.errors.empty());
                     for (uint16_t id = 50; id < 68; ++id) EXPECT_NE(r.Object(id), nullptr) << id;
                     r.Engine().List().SelectWindow(1, DisplayListWindow::kRedrawAll, 0);
                     r.Engine().RedrawDisplays();
                 },
                 kAllReplies}),
    [](const testing::TestParamInfo<FaultRow>& info) { return std::string(info.param.name); });

TEST(DisplaySimPty, HandOverDrawsRepliesAndExitGivesTheLineBack) {
    DisplaySimRig rig({.pty = true, .master = true});
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.ScriptDone(); }));
    EXPECT_TRUE(rig.errors.empty());
    ASSERT_TRUE(rig.WaitForKeys(kAllReplies.size()));
    EXPECT_EQ(Replies(rig.Keys()), kAllReplies);
    rig.Link().SendKeyFrame(DisplayLink::kExit);
    ASSERT_TRUE(rig.WaitForKeys(kAllReplies.size() + 1));
    EXPECT_EQ(rig.Keys().back().text, "exit");
    EXPECT_EQ(rig.Keys().back().transport, "pty");
}

TEST(DisplaySimPty, OperatorPanelGetsItsArmsStatusLines) {
    DisplaySimRig rig({.pty = true, .handover = 0x0417, .master = true,
                       .args = {"--addresses", "1-3", "--arm-flags", "3=05"}});
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.ScriptDone(); }));
    rig.Link().SendKeyFrame(DisplayLink::kPoll, 9);
    for (int i = 0; i < 2; ++i) rig.Link().SendKeyFrame(DisplayLink::kPoll, 3);
    rig.Link().SendKeyFrame(DisplayLink::kPoll, 2);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.arms.size() >= 6; }));
    EXPECT_EQ(rig.arms[0].arm, 3) << "address 9 is no arm";
    EXPECT_TRUE(rig.arms[0].hasText);
    EXPECT_EQ(std::string(rig.arms[0].text.data()), "Arm 3 ATTENTION" + std::string(14, ' ')) << "29 characters";
    EXPECT_EQ(rig.arms[0].flags, 0x05);
    EXPECT_FALSE(rig.arms[1].hasText);
    EXPECT_EQ(rig.arms[2].flags, 0x01) << "the request to become current is made once";
    EXPECT_EQ(std::string(rig.arms[4].text.data(), 10), "Arm 2 idle");
    EXPECT_EQ(rig.arms[5].flags, 0x00);
    EXPECT_EQ(rig.Link().RunningCrc(), 0xFFFFFFFFu);
    EXPECT_TRUE(rig.errors.empty());
    ASSERT_TRUE(rig.WaitForKeys(kAllReplies.size() + 4));
    EXPECT_EQ(rig.Keys()[kAllReplies.size()].error, "no arm at address 9");

    // A key for arm 2 as the current arm turns the display to it.
    rig.Link().SendKeyFrame('5', 2, 0x80);
    ASSERT_TRUE(rig.RunUntil([&] {
        const DisplayObject* text = rig.Object(2);
        return text && std::string(reinterpret_cast<const char*>(text->payload.data())) == "Bay A  Arm 2  ULSD";
    }));
}

}  // namespace
}  // namespace qs::display::sim_test

namespace qs::display::sim_test {
namespace {

TEST(DisplaySimPty, SplitWritesAndABadEndMarkerOnTheSerialLine) {
    DisplaySimRig rig({.pty = true, .master = true, .args = {"--display-fault", "split=7", "--display-fault", "bad-end"}});
    ASSERT_TRUE(rig.Ready()) << rig.Error();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.ScriptDone(); }, std::chrono::seconds(20)));
    EXPECT_EQ(rig.badEnds, 1);
    EXPECT_EQ(rig.Object(41), nullptr);
    EXPECT_TRUE(rig.errors.empty());
    ASSERT_TRUE(rig.WaitForKeys(kAllReplies.size()));
    EXPECT_EQ(Replies(rig.Keys()), kAllReplies);
}

}  // namespace
}  // namespace qs::display::sim_test
