#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PtyPair.h"
#include "RecordingUi.h"
#include "emulators/display/TextPainter.h"
#include "emulators/panelsim/core/OperatorPanelSession.h"

namespace qs::panelsim {
namespace {

// One key frame as the device reads it: target address, key code, flags byte.
struct Key {
    int address, code, flags;
    bool operator==(const Key&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Key& k) {
    return os << "{" << k.address << ", 0x" << std::hex << k.code << ", 0x" << k.flags << std::dec << "}";
}

std::vector<Key> Keys(const std::string& received) {
    std::vector<Key> keys;
    for (size_t at = 0; at + 16 <= received.size(); at += 16) {
        keys.push_back({static_cast<uint8_t>(received[at + 2]), static_cast<uint8_t>(received[at + 3]),
                        static_cast<uint8_t>(received[at + 11])});
    }
    return keys;
}

// The device's 0x15 status line and 0x16 poll reply, by hand.
std::string StatusLine(int arm, int flags, std::string text) {
    text.resize(29, '\0');
    return std::string("\x02\x02\x01\x15", 4) + static_cast<char>(arm) + static_cast<char>(flags) + text + "\x03\x7F\x7F";
}
std::string PollReply(int arm, int flags) {
    return std::string("\x02\x02\x01\x16", 4) + static_cast<char>(arm) + static_cast<char>(flags) + std::string(8, '\0');
}

constexpr int kPoll = 0xF3, kF1 = ';', kStop = 'B';
constexpr int kNow = 0x80;  // the key is for the current arm

struct PanelRig {
    explicit PanelRig(const char* arms = " 01,02,03") : session(ui.services, clock, [this](int) { return pty.SlavePath(); }) {
        session.SetArms(arms);
        session.Open(4);
    }
    std::vector<Key> Sent(size_t frames) { return Keys(pty.DeviceReceives(16 * frames, 500)); }

    qs::test::RecordingUi ui;
    qs::test::PtyPair pty;
    SteadyClock clock;
    OperatorPanelSession session;
};

TEST(OperatorPanelPolling, StartPollsTheFirstArmGreetsTheNextThenPollsInTurn) {
    PanelRig rig;
    ASSERT_TRUE(rig.session.HasLink());
    rig.session.Start();
    for (int i = 0; i < 4; ++i) rig.session.Tick();
    EXPECT_EQ(rig.Sent(7), (std::vector<Key>{{1, kPoll, kNow}, {2, 0xFF, 0}, {2, kPoll, 0}, {3, kPoll, 0},
                                            {1, kPoll, kNow}, {2, kPoll, 0}}));
    EXPECT_TRUE(rig.ui.Messages().empty());
}

TEST(OperatorPanelKeys, KeysGoToTheCurrentArmWhichIsPolledNext) {
    PanelRig rig;
    rig.session.Start();
    rig.session.PressKey('5');
    EXPECT_EQ(rig.session.PollIndex(), 0u);
    rig.session.PressKey(kF1);
    EXPECT_EQ(rig.session.CurrentArm(), 1u);
    EXPECT_EQ(rig.session.PollIndex(), 1u) << "P := C after every key";
    rig.session.PressKey('7');
    rig.session.PressKey(kStop);
    rig.session.Tick();
    rig.session.PressKey(kF1);
    rig.session.PressKey(kF1);
    EXPECT_EQ(rig.session.CurrentArm(), 0u) << "F1 at the last arm wraps to the first";
    rig.session.Shutdown();
    rig.session.PressKey('1');
    EXPECT_EQ(rig.Sent(9), (std::vector<Key>{{1, kPoll, kNow}, {2, 0xFF, 0}, {1, '5', kNow}, {2, '7', kNow},
                                            {0, kStop, kNow}, {2, kPoll, kNow}, {0, 0xF8, 0}}))
        << "F1 sends nothing; Stop and the exit key go to every arm";
    EXPECT_FALSE(rig.session.HasLink());
}

TEST(OperatorPanelKeys, TheFlagsByteCountsTheArmsNeedingAttention) {
    PanelRig rig;
    rig.session.Start();
    rig.Sent(2);
    rig.pty.DeviceSends(PollReply(2, 0x01) + PollReply(3, 0x01) + StatusLine(9, 0x01, "no arm"));
    rig.session.Tick();
    rig.session.PressKey('4');
    rig.pty.DeviceSends(PollReply(3, 0x00));
    rig.session.Tick();
    rig.session.Shutdown();
    EXPECT_EQ(rig.Sent(5), (std::vector<Key>{{2, kPoll, 0}, {1, '4', kNow | 2}, {1, kPoll, kNow | 2}, {0, 0xF8, 1}}));
}

TEST(OperatorPanelKeys, TheF1LockOfTheCurrentArmHoldsF1) {
    PanelRig rig;
    rig.session.Start();
    rig.pty.DeviceSends(PollReply(2, 0x02));
    rig.session.Tick();
    rig.session.PressKey(kF1);
    EXPECT_EQ(rig.session.CurrentArm(), 1u) << "arm 2's lock is not the current arm's";
    rig.pty.DeviceSends(PollReply(2, 0x02));
    rig.session.Tick();
    rig.session.PressKey(kF1);
    EXPECT_EQ(rig.session.CurrentArm(), 1u) << "locked";
    rig.pty.DeviceSends(StatusLine(2, 0x00, "free"));
    rig.session.Tick();
    rig.session.PressKey(kF1);
    EXPECT_EQ(rig.session.CurrentArm(), 2u);
}

TEST(OperatorPanelKeys, AnArmAskingToBeCurrentBecomesItAtTheNextTick) {
    PanelRig rig;
    rig.session.Start();
    rig.pty.DeviceSends(PollReply(2, 0x04));
    rig.session.Tick();
    EXPECT_EQ(rig.session.CurrentArm(), 0u);
    rig.session.Tick();
    EXPECT_EQ(rig.session.CurrentArm(), 1u);
    rig.session.PressKey('9');
    EXPECT_EQ(rig.Sent(5).back(), (Key{2, '9', kNow}));
}

TEST(OperatorPanelKeys, WithoutArmsF1DoesNothingAndPollsGoToTheEndMark) {
    PanelRig rig("");
    rig.session.Start();
    rig.session.PressKey(kF1);
    rig.session.Tick();
    EXPECT_EQ(rig.session.CurrentArm(), 0u);
    EXPECT_EQ(rig.Sent(4), (std::vector<Key>{{0, kPoll, kNow}, {0, 0xFF, kNow}, {0, kPoll, kNow}}));
}

TEST(OperatorPanelSetup, ANewListKeepsPlacesItStillHasAndEmptiesTheTexts) {
    PanelRig rig(" 01,02,03");
    rig.session.PressKey(kF1);
    rig.session.PressKey(kF1);
    EXPECT_FALSE(rig.session.ApplySetup(4, "05,06"));
    EXPECT_EQ(rig.session.CurrentArm(), 0u) << "place 2 is gone";
    EXPECT_EQ(rig.session.Status().Text(0), "");
    rig.session.PressKey(kF1);
    EXPECT_FALSE(rig.session.ApplySetup(4, "07,08,09"));
    EXPECT_EQ(rig.session.CurrentArm(), 1u);
    EXPECT_EQ(rig.session.Arms(), (std::vector<uint8_t>{7, 8, 9}));
    EXPECT_TRUE(rig.session.HasLink());
    EXPECT_TRUE(rig.session.ApplySetup(6, "07"));
    EXPECT_EQ(rig.session.Port(), 6);
    EXPECT_TRUE(rig.session.HasLink()) << "opened again on the new port";
}

// What the status window on display 2 draws: the five texts in font 0, rows 14 to 62.
display::Framebuffer StatusLinesAsDrawn(const std::vector<std::string>& texts) {
    display::Framebuffer expected;
    display::DisplayEngine engine(display::DisplayVariant::OperatorPanel, 1);
    for (size_t i = 0; i < texts.size(); ++i) {
        display::TextPainter(expected, engine.Fonts()).DrawTextRun(texts[i], 0, 0, static_cast<int>(14 + 12 * i), 3, 0);
    }
    return expected;
}

TEST(OperatorPanelStatusWindow, TheFirstByteEmptiesTheLinesAndStatusTextsFillThem) {
    PanelRig rig;
    rig.session.Start();
    EXPECT_TRUE(rig.session.Tick());
    EXPECT_EQ(rig.session.Screen(1).Pixels(),
              StatusLinesAsDrawn({"Line 1", "Line 2", "Line 3", "Line 4", "Line 5"}).Pixels());
    EXPECT_GT(rig.session.Engine().IndicatorSteps(), 0u) << "screen 0 turns the boot screen";

    rig.pty.DeviceSends(StatusLine(3, 0x00, "Arm 3 loading"));
    EXPECT_TRUE(rig.session.Tick());
    EXPECT_EQ(rig.session.Screen(1).Pixels(), StatusLinesAsDrawn({"", "Arm 3 loading"}).Pixels())
        << "slots: arm 2 then arm 3 after the current arm 1";
    rig.pty.DeviceSends(StatusLine(3, 0x00, "Arm 3"));
    EXPECT_TRUE(rig.session.Tick());
    EXPECT_EQ(rig.session.Screen(1).Pixels(), StatusLinesAsDrawn({"", "Arm 3"}).Pixels())
        << "nothing of the longer text is left";
    const auto& list = rig.session.Engine().List();
    EXPECT_EQ(list.CurrentWindow(2), rig.session.StatusWindow());
    EXPECT_EQ(list.FindDisplayWindow(rig.session.StatusWindow(), 2)->objects.size(), 5u);
}

TEST(OperatorPanelLink, NoComZeroAndAPortThatCannotOpenIsSaid) {
    qs::test::RecordingUi ui;
    SteadyClock clock;
    OperatorPanelSession session(ui.services, clock, [](int) { return std::string("/nonexistent/tty"); });
    session.Open(0);
    session.Open(2);
    EXPECT_FALSE(session.HasLink());
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Error opening communications port", "Error opening communications port"}));
    session.Start();
    EXPECT_TRUE(session.Tick());
    EXPECT_EQ(session.ScreenCount(), 2);
}

}  // namespace
}  // namespace qs::panelsim
