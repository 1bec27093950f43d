#include <gtest/gtest.h>

#include "DisplayLinkRig.h"

namespace qs::display::test {
namespace {

const std::string kText = TextRecord(9, 0x00, 10, 20, 0x03, 0, "%s");

std::string DefineText(unsigned window = 5, unsigned id = 9, int display = 0, const std::string& text = "AB") {
    return Define(window, 0x00, display, TextRecord(id, 0x00, 10, 20, 0x03, 0, "%s"), text);
}

std::vector<uint8_t> PayloadOf(const LinkRig& rig, uint16_t id) {
    const DisplayObject* o = rig.Object(id);
    return o ? o->payload : std::vector<uint8_t>{};
}

TEST(DisplayLinkParse, LoneSyncFollowedByOtherByteRestartsTheSearch) {
    LinkRig rig;
    rig.Run(Bytes({0x02, 0x05}) + DefineText());
    ASSERT_NE(rig.Object(9), nullptr);
    EXPECT_EQ(rig.engine.List().CurrentWindow(0), 5);
    EXPECT_TRUE(rig.link.RedrawNeeded());
}

TEST(DisplayLinkParse, OtherAddressEndsThePassAndTheNextPassReadsOn) {
    LinkRig rig;
    rig.Run(Bytes({0x02, 0x02, 0x02}) + DefineText());
    EXPECT_EQ(rig.Object(9), nullptr);
    EXPECT_GT(rig.source.Left(), 0u);
    rig.link.ReceiveFrames();
    EXPECT_NE(rig.Object(9), nullptr);
}

TEST(DisplayLinkParse, UnknownCommandIsSkipped) {
    LinkRig rig;
    rig.Run(Frame(0x42, "xyz") + Frame(0x15, "1234") + DefineText());
    EXPECT_NE(rig.Object(9), nullptr);
    EXPECT_TRUE(rig.errors.empty());
}

TEST(DisplayLinkPayload, AtMost1024Bytes) {
    for (size_t n : {size_t{1024}, size_t{1025}}) {
        LinkRig rig;
        rig.Run(DefineText(5, 9, 0, std::string(n, 'x')) + DefineText(5, 10));
        SCOPED_TRACE(n);
        if (n == 1024) {
            EXPECT_EQ(PayloadOf(rig, 9).size(), 1025u);
            EXPECT_TRUE(rig.errors.empty());
        } else {
            EXPECT_EQ(rig.Object(9), nullptr);
            EXPECT_EQ(rig.errors, std::vector<int>{DisplayLink::kPayloadTooLong});
        }
        EXPECT_NE(rig.Object(10), nullptr);  // the next frame is found again
    }
}

TEST(DisplayLinkPayload, NumbersAreStoredReversedAndTheRestAsSent) {
    struct Row {
        int type;
        std::string wire;
        std::vector<uint8_t> stored;
    };
    const Row rows[] = {
        {0x02, Bytes({0x12, 0x34}), {0x34, 0x12, 0}},
        {0x43, Bytes({1, 2, 3, 4}), {4, 3, 2, 1, 0}},
        {0x00, "ABC", {'A', 'B', 'C', 0}},
        {0x01, Bytes({0x12, 0x34}), {0x12, 0x34, 0}},
    };
    for (const Row& row : rows) {
        LinkRig rig;
        rig.Run(Define(5, 0, 0, TextRecord(9, row.type, 0, 12, 3, 0, "%d"), row.wire));
        EXPECT_EQ(PayloadOf(rig, 9), row.stored) << row.type;
    }
    LinkRig rig;
    rig.Run(Define(5, 0, 0, GraphicRecord(9, 0xC0, 0, 0, 2, 1, 3), Bytes({1, 2})));
    EXPECT_EQ(PayloadOf(rig, 9), (std::vector<uint8_t>{1, 2, 0}));
}

TEST(DisplayLinkDefine, WindowZeroIsRefusedWith248) {
    LinkRig rig;
    rig.Run(DefineText(0));
    EXPECT_EQ(rig.errors, std::vector<int>{DisplayLink::kWindowIdZero});
    EXPECT_EQ(rig.Object(9), nullptr);
    EXPECT_FALSE(rig.engine.List().AnyCurrentWindow());
}

TEST(DisplayLinkDefine, ThirtySecondWindowOfOneObjectIsRefusedWith253) {
    LinkRig rig;
    for (unsigned w = 1; w <= 31; ++w) rig.Run(DefineText(w));
    EXPECT_TRUE(rig.errors.empty());
    EXPECT_EQ(rig.Object(9)->References(), 31);
    rig.Run(DefineText(32));
    EXPECT_EQ(rig.errors, std::vector<int>{DisplayLink::kNoRoom});
    EXPECT_EQ(rig.Object(9)->References(), 31);
}

TEST(DisplayLinkDefine, DeletedBitOfTheDeviceNeverReachesTheWindow) {
    LinkRig rig;
    rig.Run(DefineText(5) + Define(6, 0xFF, 0, kText, "x"));
    const DisplayListWindow* w = rig.engine.List().FindDisplayWindow(6, 0);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->Deleted());
    EXPECT_EQ(rig.engine.List().CurrentWindow(0), 6);
}

TEST(DisplayLinkUpdate, UnknownIdIsDroppedAfterItsIdAlone) {
    LinkRig rig;
    rig.Run(Update(77, 3, 0, "hello"));
    EXPECT_EQ(rig.errors, std::vector<int>{DisplayLink::kUnknownTarget});
    EXPECT_EQ(rig.errorAt, std::vector<size_t>{6});  // 02 02 01 12 and the id
}

TEST(DisplayLinkUpdate, ReplacesPayloadAndColoursAndMarksChanged) {
    LinkRig rig;
    rig.Run(Define(5, 0, 0, TextRecord(9, 0x42, 0, 12, 3, 0, "%d"), Bytes({0, 1})));
    rig.engine.RedrawDisplays();  // clears the changed mark
    ASSERT_FALSE(rig.Object(9)->flags & DisplayObject::kChanged);
    rig.link.ClearRedrawNeeded();
    rig.Run(Update(9, 0x12, 2, Bytes({0x12, 0x34})));
    EXPECT_EQ(PayloadOf(rig, 9), (std::vector<uint8_t>{0x34, 0x12, 0}));
    EXPECT_EQ(rig.Object(9)->colours, 0x12);
    EXPECT_TRUE(rig.Object(9)->flags & DisplayObject::kChanged);
    EXPECT_TRUE(rig.link.RedrawNeeded());
}

TEST(DisplayLinkControl, CrcSequence) {
    struct Row {
        bool master;
        bool right;
        std::vector<int> replies;
        std::vector<int> errors;
    };
    const Row rows[] = {
        {true, true, {0x06, 0x06}, {}},
        {true, false, {0x06}, {255}},
        {false, true, {}, {}},
        {false, false, {}, {255}},
    };
    for (const Row& row : rows) {
        LinkRig rig(DisplayVariant::RemoteDisplay, row.master);
        rig.Run(Bytes({0x55}) + Control(0x00, 0));
        const std::string checked = Bytes({0x41}) + DefineText(5) + Bytes({0x02, 0x07}) + DefineText(5, 10);
        rig.Run(checked);
        const uint32_t crc = BitwiseCrc32(checked) ^ (row.right ? 0u : 1u);
        rig.Run(Control(0x01, 0, BigEndian(crc, 4)));
        EXPECT_EQ(rig.sink.Codes(), row.replies) << row.master << row.right;
        EXPECT_EQ(rig.errors, row.errors) << row.master << row.right;
    }
}

TEST(DisplayLinkControl, ResetClearsTheScreenOfTheFrameDisplayBetweenItsReplies) {
    LinkRig rig;
    rig.engine.Target(0).SetPixel(1, 1, 2);
    rig.engine.Target(1).SetPixel(1, 1, 2);
    std::vector<int> inkedAtReply;
    rig.sink.onWrite = [&] { inkedAtReply.push_back(Inked(rig.engine.GetFramebuffer(1))); };
    rig.Run(Control('R', 0x07));
    EXPECT_EQ(rig.sink.Codes(), (std::vector<int>{0xF0, 0xFB}));
    EXPECT_EQ(inkedAtReply, (std::vector<int>{1, 0}));
    EXPECT_EQ(Inked(rig.engine.GetFramebuffer(0)), 1);
}

TEST(DisplayLinkControl, HandshakesAndActiveDisplay) {
    struct Row {
        DisplayVariant variant;
        std::string frame;
        std::vector<int> replies;
        int active;
        std::vector<int> errors;
    };
    const Row rows[] = {
        {DisplayVariant::RemoteDisplay, Control('S', 0, "abcd"), {0x06, 0xF1}, 0, {}},
        {DisplayVariant::RemoteDisplay, Control('T', 0, "a"), {0x06, 0xF1}, 0, {}},
        {DisplayVariant::RemoteDisplay, Control('U', 0, Bytes({3})), {0x06}, 3, {}},
        {DisplayVariant::RemoteDisplay, Control('U', 0, Bytes({7})), {0x06}, 0, {}},
        {DisplayVariant::OperatorPanel, Control('U', 0, Bytes({3})), {0x06}, 0, {}},
        {DisplayVariant::RemoteDisplay, Control('Z', 0), {}, 0, {254}},
    };
    for (const Row& row : rows) {
        LinkRig rig(row.variant);
        rig.Run(row.frame);
        EXPECT_EQ(rig.sink.Codes(), row.replies) << row.frame;
        EXPECT_EQ(rig.engine.ActiveDisplay(), row.active) << row.frame;
        EXPECT_EQ(rig.errors, row.errors) << row.frame;
    }
    LinkRig rig;
    rig.Run(Control('U', 0, Bytes({3})));
    EXPECT_EQ(rig.engine.ActiveDisplayOf(1), 3);
    EXPECT_EQ(rig.engine.ActiveDisplayOf(0), 0);
}

std::string Snapshot(LinkRig& rig) {
    std::string out;
    const DisplayList& list = rig.engine.List();
    for (int d = 0; d < 4; ++d) {
        out += "current " + std::to_string(list.CurrentWindow(d)) + "\n";
        for (const auto& w : list.Windows(d)) out += "window " + std::to_string(w->id) + " " + std::to_string(w->flags) + "\n";
    }
    for (const auto& o : list.Objects(0)) {
        out += "object " + std::to_string(o->id) + " " + std::to_string(o->colours) + " " + std::to_string(o->flags) + " " +
               std::string(o->payload.begin(), o->payload.end()) + "\n";
    }
    out += "active " + std::to_string(rig.engine.ActiveDisplay()) + " inked " +
           std::to_string(Inked(rig.engine.GetFramebuffer(0))) + " crc " + std::to_string(rig.link.LastFrameCrc());
    return out;
}

// Each kind of frame with each of its end-marker bytes wrong: nothing changes, nothing is
// sent, and the frame after it is found.
class DisplayLinkBadEnd : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(DisplayLinkBadEnd, ChangesNothingAndSendsNothing) {
    const auto [kind, position] = GetParam();
    LinkRig rig;
    rig.Run(DefineText(5, 9) + Define(7, 0, 0, TextRecord(12, 0, 0, 30, 3, 0, "%s"), "y") + Select(5, 0, 0));
    rig.engine.Target(0).SetPixel(3, 3, 1);
    ASSERT_TRUE(rig.errors.empty());
    std::string end = kEnd;
    end[static_cast<size_t>(position)] = position == 0 ? 0x04 : 0x7E;
    const std::string frames[] = {
        Define(6, 0, 0, TextRecord(11, 0, 0, 12, 3, 0, "%s"), "x", end),
        Update(9, 0x21, 0, "new", end),
        Select(7, 0x10, 0, end),
        Control(0x00, 0, {}, end),
        Control(0x01, 0, BigEndian(rig.link.LastFrameCrc(), 4), end),
        Control('R', 0, {}, end),
        Control('S', 0, "abcd", end),
        Control('T', 0, "a", end),
        Control('U', 0, Bytes({3}), end),
        Delete(7, 0, 0, end),
    };
    const std::string before = Snapshot(rig);
    rig.sink.frames.clear();
    rig.Run(frames[kind]);
    EXPECT_EQ(rig.badEnds, 1);
    EXPECT_TRUE(rig.sink.frames.empty());
    EXPECT_TRUE(rig.errors.empty());
    EXPECT_EQ(Snapshot(rig), before);
    rig.Run(DefineText(5, 20));
    EXPECT_NE(rig.Object(20), nullptr);
}

INSTANTIATE_TEST_SUITE_P(EveryFrameAndByte, DisplayLinkBadEnd, testing::Combine(testing::Range(0, 10), testing::Range(0, 3)));

TEST(DisplayLinkDelete, ObjectsAndWindowsWithinTheModelRules) {
    LinkRig rig;
    rig.Run(DefineText(5, 9) + Define(7, 0, 0, TextRecord(12, 0, 0, 30, 3, 0, "%s"), "y") + Select(5, 0, 0));
    rig.Run(Delete(12, 1, 0) + Delete(5, 0, 0));  // still referenced; current
    EXPECT_NE(rig.Object(12), nullptr);
    EXPECT_NE(rig.engine.List().FindDisplayWindow(5, 0), nullptr);
    rig.Run(Delete(7, 0, 0) + Delete(12, 1, 0));
    EXPECT_EQ(rig.engine.List().FindDisplayWindow(7, 0), nullptr);
    EXPECT_EQ(rig.Object(12), nullptr);
}

TEST(DisplayLinkPass, FrameSplitAcrossPassesIsFinishedLaterAndCountedOnce) {
    const std::string frame = DefineText(5, 9, 0, "hello");
    LinkRig whole, split;
    whole.Run(frame);
    split.Run(frame.substr(0, 20));
    EXPECT_EQ(split.Object(9), nullptr);
    EXPECT_TRUE(split.link.FramePending());
    split.Run(frame.substr(20));
    ASSERT_NE(split.Object(9), nullptr);
    EXPECT_FALSE(split.link.FramePending());
    EXPECT_EQ(split.link.RunningCrc(), whole.link.RunningCrc());
    EXPECT_EQ(split.link.LastFrameCrc(), whole.link.LastFrameCrc());
}

TEST(DisplayLinkPass, EachPassEndsWithinItsBudgetAndAFrameWithin3s) {
    LinkRig rig;
    const std::string frame = DefineText(5, 9, 0, "hello");
    rig.Run(frame.substr(0, 20));
    const int64_t start = rig.clock.now;
    int passes = 1;
    while (rig.link.FramePending() && passes < 100) {
        const int64_t before = rig.clock.now;
        rig.link.ReceiveFrames();
        EXPECT_LE(rig.clock.now - before, DisplayLink::kPassBudgetMs);
        ++passes;
    }
    EXPECT_FALSE(rig.link.FramePending());
    EXPECT_GE(rig.clock.now - start, DisplayLink::kFrameTimeoutMs - DisplayLink::kPassBudgetMs);
    EXPECT_LE(rig.clock.now - start, DisplayLink::kFrameTimeoutMs);
    rig.Run(frame.substr(20) + DefineText(5, 10));
    EXPECT_EQ(rig.Object(9), nullptr);
    EXPECT_NE(rig.Object(10), nullptr);
}

TEST(DisplayLinkPass, RemoteDisplayForgetsScreenZeroWindowsEachPass) {
    for (DisplayVariant variant : {DisplayVariant::RemoteDisplay, DisplayVariant::OperatorPanel}) {
        LinkRig rig(variant);
        rig.Run(DefineText(5, 9, 0) + DefineText(6, 10, 2));
        rig.Run(Define(5, 0x10, 0, kText, "x") + Define(6, 0x10, 2, TextRecord(10, 0, 0, 12, 3, 0, "%s"), "x"));
        const bool remote = variant == DisplayVariant::RemoteDisplay;
        EXPECT_EQ(rig.engine.List().FindDisplayWindow(5, 0)->flags, remote ? 0x10 : 0x00);
        EXPECT_EQ(rig.engine.List().FindDisplayWindow(6, 2)->flags, 0x00);
    }
}

TEST(DisplayLinkPanel, StatusLinesAndPollRepliesReachTheirHook) {
    LinkRig rig(DisplayVariant::OperatorPanel);
    const std::string text = "Arm 3 loading 1234 L of ULSD!";
    ASSERT_EQ(text.size(), 29u);
    rig.Run(Frame(0x15, Bytes({3, 0x05}) + text) + Frame(0x16, Bytes({4, 0x01}) + "12345678", ""));
    ASSERT_EQ(rig.arms.size(), 2u);
    EXPECT_EQ(rig.arms[0].arm, 3);
    EXPECT_EQ(rig.arms[0].flags, 0x05);
    EXPECT_TRUE(rig.arms[0].hasText);
    EXPECT_EQ(std::string(rig.arms[0].text.data()), text);
    EXPECT_EQ(rig.arms[1].arm, 4);
    EXPECT_FALSE(rig.arms[1].hasText);
    EXPECT_EQ(rig.link.RunningCrc(), 0xFFFFFFFFu);
    EXPECT_TRUE(rig.link.RedrawNeeded()) << "the status text is shown at the next redraw";
    rig.link.ClearRedrawNeeded();
    rig.Run(Frame(0x16, Bytes({4, 0x01}) + "12345678", ""));
    EXPECT_FALSE(rig.link.RedrawNeeded());

    LinkRig remote;
    remote.Run(Frame(0x15, Bytes({3, 0x05}) + text));
    EXPECT_TRUE(remote.arms.empty());
}

TEST(DisplayLinkPanel, ObjectsAreLookedUpOnTheFrameDisplay) {
    LinkRig rig(DisplayVariant::OperatorPanel);
    rig.Run(DefineText(5, 9, 0, "zero") + DefineText(5, 9, 1, "one"));
    rig.Run(Update(9, 3, 1, "ONE") + Update(9, 3, 2, "none"));
    EXPECT_EQ(rig.engine.List().FindDisplayObject(9, 0)->payload[0], 'z');
    EXPECT_EQ(rig.engine.List().FindDisplayObject(9, 1)->payload[0], 'O');
    EXPECT_EQ(rig.errors, std::vector<int>{DisplayLink::kUnknownTarget});
}

TEST(DisplayLinkBytes, EveryByteFeedsTheRunningCrcFromZero) {
    LinkRig rig;
    EXPECT_EQ(rig.link.RunningCrc(), 0u);
    EXPECT_FALSE(rig.link.ReceivedAnything());
    rig.Run(Bytes({0x02}));  // a lone sync waits for its second byte
    rig.source.Feed("Z");
    EXPECT_EQ(rig.link.ReadByteWait(), 'Z');
    EXPECT_EQ(rig.link.ReadByteNoWait(), -1);
    uint32_t state = 0;
    for (char c : std::string("\x02Z")) {
        state ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k) state = (state >> 1) ^ (0xEDB88320u & (0u - (state & 1u)));
    }
    EXPECT_EQ(rig.link.RunningCrc(), state);
    EXPECT_TRUE(rig.link.ReceivedAnything());
}

}  // namespace
}  // namespace qs::display::test
