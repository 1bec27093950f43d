#include "display/DisplaySession.h"

#include <gtest/gtest.h>

#include <ctime>

#include "display/DisplayFrames.h"
#include "display/KeyFrameReader.h"
#include "Fuzz.h"
#include "Options.h"
#include "wire/FrameCodec.h"

namespace sim::test {

using namespace std::string_literals;

namespace {

// A key frame as an emulator builds it, stamped now.
Bytes Key(uint8_t code, uint8_t address = 0, int64_t stampShift = 0) {
    const auto stamp = static_cast<uint32_t>(KeyFrameReader::ExpectedStamp(std::time(nullptr)) + stampShift);
    Bytes f{'\x02', '\x01', static_cast<char>(address), static_cast<char>(code), '\x00', '\x06'};
    PutU32(f, stamp);
    f += Bytes{'\x00', '\x00'};
    PutU32(f, Crc32::Of(f));
    return f;
}

struct Sent {
    Bytes wire;                       // every byte, in order
    std::vector<std::string> names;   // the logged frames
    std::vector<Bytes> frames;        // their bytes
    std::vector<int64_t> delays;      // of every piece
    size_t pieces = 0;
};

Sent Collect(const std::vector<SessionEvent>& events) {
    Sent s;
    for (const SessionEvent& e : events) {
        if (e.type != SessionEvent::Type::Send) continue;
        s.wire += e.wire;
        s.delays.push_back(e.delayMs);
        ++s.pieces;
        if (e.log) {
            EXPECT_EQ(e.record.kind, "display");
            s.names.push_back(std::string(e.record.text));
            s.frames.push_back(e.record.raw);
        }
    }
    return s;
}

size_t IndexOf(const Sent& s, const std::string& name) {
    for (size_t i = 0; i < s.names.size(); ++i) {
        if (s.names[i] == name) return i;
    }
    ADD_FAILURE() << name;
    return 0;
}

// The CRC the check frame must carry: every byte after the start frame up to the last frame
// with a correct end marker before the check.
uint32_t ExpectedCheck(const Sent& s, const std::vector<std::string>& dropped) {
    Bytes covered, pending;
    for (size_t i = IndexOf(s, "crc start") + 1; i < IndexOf(s, "crc check"); ++i) {
        pending += s.frames[i];
        const bool good = std::find(dropped.begin(), dropped.end(), s.names[i]) == dropped.end();
        if (good) {
            covered += pending;
            pending.clear();
        }
    }
    return Crc32::Of(covered);
}

std::vector<LogRecord> Received(const std::vector<SessionEvent>& events) {
    std::vector<LogRecord> out;
    for (const SessionEvent& e : events) {
        if (e.type == SessionEvent::Type::Received) out.push_back(e.record);
    }
    return out;
}

}  // namespace

TEST(SimDisplayOptions, FlagsAndFaults) {
    std::string error;
    auto o = Options::Parse({"--display-tcp", "127.3.4.5:7744", "--display-master", "--display-handover", "--display-fault", "split=3",
                             "--display-fault", "stall=1500", "--display-fault", "oversize", "--display-fault", "bad-end",
                             "--display-fault", "bad-crc", "--display-fault", "hostile"},
                            error);
    ASSERT_TRUE(o) << error;
    EXPECT_TRUE(o->tcp.empty());  // the display port alone opens no command port
    ASSERT_EQ(o->displayTcp.size(), 1u);
    EXPECT_EQ(o->displayTcp[0].port, 7744);
    EXPECT_TRUE(o->display.master);
    EXPECT_TRUE(o->display.handover);
    EXPECT_FALSE(Options::Parse({}, error)->display.handover);
    EXPECT_EQ(o->display.splitBytes, 3u);
    EXPECT_EQ(o->display.stallMs, 1500);
    EXPECT_TRUE(o->display.oversize && o->display.badEnd && o->display.badCrc && o->display.hostile);
    for (const char* bad : {"split", "split=0", "stall=x", "oversize=1", "nonsense"}) {
        EXPECT_FALSE(Options::Parse({"--display-fault", bad}, error)) << bad;
    }
}

TEST(SimKeyFrames, ChecksStartCrcAndTimeStamp) {
    KeyFrameReader reader;
    const int64_t now = std::time(nullptr);
    Bytes badCrc = Key('A');
    badCrc[15] ^= 1;
    const Bytes stream = "\x55\x02\x02"s + Key('A', 2) + badCrc + Key('B', 0, 60) + Key('C').substr(0, 7);
    std::vector<KeyFrameRecord> got = reader.Feed(stream, now);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_FALSE(got[0].frame);
    EXPECT_EQ(got[0].raw, "\x55\x02\x02"s);
    EXPECT_EQ(got[0].error, "bad start bytes");
    EXPECT_TRUE(got[1].frame);
    EXPECT_EQ(got[1].error, "");
    EXPECT_EQ(got[1].code, 'A');
    EXPECT_EQ(got[1].address, 2);
    EXPECT_EQ(got[2].error, "bad CRC");
    EXPECT_EQ(got[3].error, "time stamp off by 60 s");
    got = reader.Feed(Key('C').substr(7), now);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].code, 'C');
    EXPECT_EQ(got[0].error, "");
}

TEST(SimDisplaySession, ScriptCarriesTheCrcOfWhatCameBefore) {
    struct Row {
        const char* fault;
        std::vector<std::string> dropped;
    };
    const Row rows[] = {{"", {}}, {"oversize", {"define 40"}}, {"bad-end", {"define 41 (bad end)"}}, {"hostile", {}},
                        {"stall=4000", {"define 1"}}};
    for (const Row& row : rows) {
        DisplayOptions options;
        if (*row.fault) {
            ASSERT_EQ(options.AddFault(row.fault), "");
        }
        DisplaySession session(options, DisplaySession::Mode::RemoteDisplay, Transport::Tcp, 1);
        const Sent s = Collect(session.Start());
        const Bytes& check = s.frames[IndexOf(s, "crc check")];
        ASSERT_EQ(check.size(), 15u);
        EXPECT_EQ(GetU32(check, 8), ExpectedCheck(s, row.dropped)) << row.fault;
    }
    DisplayOptions badCrc;
    badCrc.badCrc = true;
    DisplaySession session(badCrc, DisplaySession::Mode::RemoteDisplay, Transport::Tcp, 1);
    const Sent s = Collect(session.Start());
    EXPECT_EQ(GetU32(s.frames[IndexOf(s, "crc check")], 8), ExpectedCheck(s, {}) ^ 1u);
}

TEST(SimDisplaySession, SplitAndStalledWritesKeepTheBytes) {
    DisplayOptions plain;
    const Bytes whole = Collect(DisplaySession(plain, DisplaySession::Mode::RemoteDisplay, Transport::Tcp, 1).Start()).wire;
    DisplayOptions split;
    split.splitBytes = 5;
    split.stallMs = 1000;
    const std::vector<SessionEvent> events = DisplaySession(split, DisplaySession::Mode::RemoteDisplay, Transport::Tcp, 1).Start();
    const Sent s = Collect(events);
    EXPECT_EQ(s.wire, whole);
    EXPECT_GT(s.pieces, whole.size() / 5);
    int64_t last = 0, jumps = 0;
    for (const SessionEvent& e : events) {
        ASSERT_LE(e.wire.size(), 5u);
        ASSERT_GE(e.delayMs, last);
        if (e.delayMs - last >= 1000) ++jumps;
        last = e.delayMs;
    }
    EXPECT_EQ(jumps, 1);
}

TEST(SimDisplaySession, RepliesAreCheckedInOrderInMasterMode) {
    // Owed in the plain script: F0 FB (reset), 06 (start), 06 (check), 06 F1, 06 F1, 06 (U).
    const Bytes owed = Key(0xF0) + Key(0xFB) + Key(0x06) + Key(0x06) + Key(0x06) + Key(0xF1) + Key(0x06) + Key(0xF1) + Key(0x06);
    DisplayOptions options;
    DisplaySession pty(options, DisplaySession::Mode::RemoteDisplay, Transport::Pty, 1);
    EXPECT_TRUE(pty.Master());
    pty.Start();
    for (const LogRecord& r : Received(pty.OnBytes(owed))) EXPECT_EQ(r.error, "") << r.text;
    std::vector<LogRecord> extra = Received(pty.OnBytes(Key(0x06)));
    ASSERT_EQ(extra.size(), 1u);
    EXPECT_EQ(extra[0].error, "unexpected reply 06");

    DisplaySession swapped(options, DisplaySession::Mode::RemoteDisplay, Transport::Pty, 1);
    swapped.Start();
    EXPECT_EQ(Received(swapped.OnBytes(Key(0xFB)))[0].error, "reply FB where F0 was due");

    DisplaySession tcp(options, DisplaySession::Mode::RemoteDisplay, Transport::Tcp, 1);
    EXPECT_FALSE(tcp.Master());
    tcp.Start();
    EXPECT_EQ(Received(tcp.OnBytes(Key(0xF0)))[0].error, "reply while not master");
}

TEST(SimDisplaySession, KeysAreShownPollsAnsweredExitEnds) {
    DisplayOptions options;
    DisplaySession panel(options, DisplaySession::Mode::OperatorPanel, Transport::Pty, 1);
    panel.Start();
    std::vector<SessionEvent> events = panel.OnBytes(Key('A'));
    EXPECT_EQ(Received(events)[0].text, "key 41");
    Sent s = Collect(events);
    ASSERT_EQ(s.names.size(), 3u);
    EXPECT_NE(s.frames[0].find("Key: A"), Bytes::npos);

    events = panel.OnBytes(Key(0xF3, 7));  // no arms given: every address answers
    EXPECT_EQ(Received(events)[0].text, "poll 7");
    s = Collect(events);
    ASSERT_EQ(s.frames.size(), 2u);
    EXPECT_EQ(s.frames[0].substr(0, 6), "\x02\x02\x01\x15\x07\x00"s);
    EXPECT_EQ(s.frames[1], DisplayFrames::PollReply(7, 0));

    EXPECT_FALSE(panel.Ended());
    EXPECT_EQ(Received(panel.OnBytes(Key(0xF8)))[0].text, "exit");
    EXPECT_TRUE(panel.Ended());
}

TEST(SimDisplaySession, ArmsAnswerTheirPollsAndTheDisplayFollowsTheCurrentArm) {
    DisplayOptions options;
    ASSERT_EQ(options.AddArmFlags("2=07"), "");
    for (const char* bad : {"0=01", "100=01", "2", "2=1FF", "x=01"}) EXPECT_NE(options.AddArmFlags(bad), "") << bad;
    DisplaySession panel(options, DisplaySession::Mode::OperatorPanel, Transport::Pty, 1, {1, 2});
    panel.Start();
    EXPECT_EQ(Received(panel.OnBytes(Key(0xFF, 2)))[0].text, "hello 2");
    std::vector<SessionEvent> events = panel.OnBytes(Key(0xF3, 5));
    EXPECT_EQ(Received(events)[0].error, "no arm at address 5");
    EXPECT_TRUE(Collect(events).frames.empty());
    for (const uint8_t flags : {0x07, 0x03}) {
        Sent s = Collect(panel.OnBytes(Key(0xF3, 2)));
        ASSERT_EQ(s.frames.size(), 2u);
        EXPECT_EQ(s.frames[0], DisplayFrames::StatusLine(2, flags, "Arm 2 ATTENTION"));
        EXPECT_EQ(s.frames[1], DisplayFrames::PollReply(2, flags));
    }
    // Keys for arm 2 as the current arm: the display turns to arm 2 once, and counts its keys.
    Bytes forArm2 = Key('A', 2);
    forArm2[11] = '\x80';
    forArm2.resize(12);
    PutU32(forArm2, Crc32::Of(forArm2));
    Sent s = Collect(panel.OnBytes(forArm2));
    ASSERT_EQ(s.names.size(), 7u);
    EXPECT_EQ(s.names[0], "show arm 2");
    EXPECT_NE(s.frames[0].find("Bay A  Arm 2  ULSD"), Bytes::npos);
    EXPECT_EQ(Collect(panel.OnBytes(forArm2)).names.size(), 3u);
    EXPECT_EQ(Collect(panel.OnBytes(Key('A', 1))).names.size(), 3u) << "not for the current arm: the display stays";
}

TEST(SimDisplaySession, PtyHandsOverAndComesBack) {
    auto request = [](uint16_t code) {
        Bytes block = "SV "s;
        PutU16(block, code);
        block += "\x46\xFE"s;
        return FrameCodec::MiniRequest(1, block, true, true);
    };
    auto sentKinds = [](const std::vector<SessionEvent>& events) {
        std::string kinds;
        for (const SessionEvent& e : events) {
            if (e.type == SessionEvent::Type::Send && e.log) kinds += e.record.kind == "display" ? "d" : "c";
        }
        return kinds;
    };
    struct Row {
        uint16_t code;
        uint16_t panelStatus;
        Transport transport;
        bool allowed;
        bool handedOver;
    };
    const Row rows[] = {
        {0x0416, 0x0000, Transport::Pty, true, true},   {0x0417, 0x0000, Transport::Pty, true, true},
        {0x0417, 0x800F, Transport::Pty, true, false},  {0x0416, 0x0000, Transport::Tcp, true, false},
        {0x0416, 0x0000, Transport::Pty, false, false},
    };
    for (const Row& row : rows) {
        ControllerConfig config;
        config.block.panelHandoverStatus = row.panelStatus;
        config.display.handover = row.allowed;
        Controller controller(config);
        controller.Values().Put(1, "SY", 111, {"5", 3});
        Session session(controller, row.transport, 1);
        const std::string kinds = sentKinds(session.OnBytes(request(row.code), 0));
        EXPECT_EQ(kinds.find('d') != std::string::npos, row.handedOver) << row.code << " " << kinds;
        if (!row.handedOver) continue;
        // Commands are display bytes now, until the exit key.
        EXPECT_EQ(sentKinds(session.OnBytes("*01PV SY 111\r\n", 0)), "");
        session.OnBytes(Key(0xF8), 0);
        EXPECT_EQ(sentKinds(session.OnBytes("*01PV SY 111\r\n", 0)), "c");
    }
}

}  // namespace sim::test

namespace sim::test {

TEST(SimDisplayFuzz, KeyFramesFromAnyBytes) {
    DisplayOptions options;
    DisplaySession session(options, DisplaySession::Mode::OperatorPanel, Transport::Pty, 1);
    session.Start();
    size_t fed = 0, logged = 0;
    qs::test::RunFuzz({Key('A'), Key(0xF3, 4), Key(0x06) + Key(0xF0), "\x02\x01\x02"s}, [&](const std::string& input) {
        fed += input.size();
        for (const SessionEvent& e : session.OnBytes(input)) {
            if (e.type == SessionEvent::Type::Received) logged += e.record.raw.size();
        }
        ASSERT_LE(logged, fed);
        ASSERT_GE(logged + KeyFrameReader::kSize, fed);
    });
}

}  // namespace sim::test
