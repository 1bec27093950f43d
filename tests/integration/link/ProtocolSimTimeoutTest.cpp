// Replies that never come and links that go away. The waits here are the real deadlines of
// the ports (about 2.1 s per byte on a 38400 baud line, 3 + 1 s on a TCP connection), so each
// case waits at most once or twice.
#include <gtest/gtest.h>

#include "ProtocolSimLink.h"
#include "RecordingUi.h"
#include "link/SerialPort.h"

namespace qs::test::protocol_sim {
namespace {

using namespace std::chrono_literals;

const char* const kState = "SY 111 - 5\n";

// The serial byte time-out at 38400 baud; the TCP receive time-out once connected, plus its
// grace second.
const std::chrono::milliseconds kSerialWait{SerialPort::ByteTimeoutMs(6)};
constexpr auto kTcpWait = 4000ms;
// Deadlines are measured on the same monotonic clock; allow for rounding to whole milliseconds.
constexpr auto kSlack = 50ms;

TEST(ProtocolSimTimeout, ASilentDeviceOnTcpTimesOutAfterTheReceiveDeadline) {
    RecordingUi ui;
    SimLink sim({Transport::Tcp, {"--persona", "silent"}, kState, {}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.Open(Framing::Mini);
    ASSERT_EQ(p->Port()->State(), kStateOpen);

    Answer none;
    const auto took = Timed([&] { none = Ask(*p, "PV SY 111"); });
    ASSERT_TRUE(none.sent);
    EXPECT_EQ(none.status, kStatusTimeout);
    EXPECT_EQ(p->Port()->Status(), kStatusTimeout);
    EXPECT_EQ(none.reply, "");
    EXPECT_GE(took, kTcpWait - kSlack);
    EXPECT_LT(took, kTcpWait + 3000ms);
    // Silence is no reason to drop the connection.
    EXPECT_EQ(p->Port()->State(), kStateOpen);

    // The caller's prefix is not shown for a port failure; the port's status text is.
    p->ReportError("Cannot read SY 111", MB_OK);
    EXPECT_NE(ui.LastMessage().find("Timeout waiting for response"), std::string::npos) << ui.LastMessage();
    EXPECT_EQ(ui.LastMessage().find("Cannot read"), std::string::npos) << ui.LastMessage();

    ASSERT_TRUE(sim.WaitForFrames(1, 0));
    EXPECT_EQ(HexOf(sim.Received().at(0).bytes), HexOf(RequestBytes(Framing::Mini, Transport::Tcp, 1, "PV SY 111")));
    EXPECT_TRUE(sim.Sent().empty());
}

TEST(ProtocolSimTimeout, AReplyDroppedOnASerialLineTimesOutAndTheLineStaysUsable) {
    SimLink sim({Transport::Pty, {"--fault", "drop,count=1"}, kState, {}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.Open(Framing::Terminal);
    ASSERT_GE(p->Port()->State(), kStateOpen);

    Answer none;
    const auto took = Timed([&] { none = Ask(*p, "PV SY 111"); });
    EXPECT_EQ(none.status, kStatusTimeout);
    EXPECT_EQ(p->Port()->Status(), kStatusTimeout);
    EXPECT_GE(took, kSerialWait - kSlack);
    EXPECT_LT(took, kSerialWait + 3000ms);

    Answer next = Ask(*p, "PV SY 111");
    EXPECT_EQ(next.status, kStatusOk);
    EXPECT_EQ(next.reply, "PV SY 111 5");
    EXPECT_EQ(p->Port()->State(), kStateReadOk);

    ASSERT_TRUE(sim.WaitForFrames(2, 1));
    EXPECT_EQ(sim.Received().size(), 2u);
    EXPECT_EQ(sim.Sent().size(), 1u);
}

TEST(ProtocolSimTimeout, AFrameToAnAddressNotServedIsLoggedAndNeverAnswered) {
    SimLink sim({Transport::Pty, {"--addresses", "1,2"}, kState, {}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.OpenMini(7);

    Answer none;
    const auto took = Timed([&] { none = Ask(*p, "PV SY 111"); });
    EXPECT_EQ(none.status, kStatusTimeout);
    EXPECT_GE(took, kSerialWait - kSlack);

    p->SetAddress(2);
    EXPECT_EQ(Ask(*p, "PV SY 111").reply, "PV SY 111 5");

    ASSERT_TRUE(sim.WaitForFrames(2, 1));
    const auto rx = sim.Received();
    EXPECT_EQ(rx.at(0).address, 7);
    EXPECT_EQ(rx.at(0).error, "address not served");
    EXPECT_EQ(HexOf(rx.at(0).bytes), HexOf(RequestBytes(Framing::Mini, Transport::Pty, 7, "PV SY 111")));
    EXPECT_EQ(rx.at(1).error, "");
    EXPECT_EQ(AddressesOf(sim.Sent()), std::vector<int>{2});
}

class ProtocolSimTcpClose : public ::testing::TestWithParam<Framing> {};

TEST_P(ProtocolSimTcpClose, AConnectionClosedByTheDeviceEndsTheLinkAtOnce) {
    SimLink sim({Transport::Tcp, {"--fault", "close-after=3"}, kState, {}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.Open(GetParam());
    EXPECT_EQ(Ask(*p, "PV SY 111").status, kStatusOk);
    EXPECT_EQ(Ask(*p, "GP").status, kStatusOk);

    Answer lost;
    const auto took = Timed([&] { lost = Ask(*p, "PV SY 111"); });
    ASSERT_TRUE(lost.sent);
    EXPECT_EQ(lost.status, kStatusTimeout);
    EXPECT_EQ(p->Port()->State(), kStateClosed);
    EXPECT_EQ(p->Port()->Describe(1), "Comm Not Enabled");
    // A closed connection is seen as such, not waited out.
    EXPECT_LT(took, 2000ms);

    // Nothing more goes out on it; a new connection is a new link with its own count.
    EXPECT_EQ(p->Send("GP"), nullptr);
    EXPECT_NE(p->Port()->Status(), kStatusOk);
    auto again = sim.Open(GetParam());
    EXPECT_EQ(Ask(*again, "PV SY 111").reply, "PV SY 111 5");
    EXPECT_EQ(Ask(*again, "GP").reply, "0A463B8B");

    ASSERT_TRUE(sim.WaitForFrames(5, 4));
    const auto rx = sim.Received();
    ASSERT_EQ(rx.size(), 5u);
    EXPECT_NE(rx[2].link, rx[3].link);
    EXPECT_EQ(sim.Sent().size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Framings, ProtocolSimTcpClose, ::testing::Values(Framing::Terminal, Framing::Mini),
                         [](const auto& info) { return std::string(info.param == Framing::Mini ? "Mini" : "Terminal"); });

}  // namespace
}  // namespace qs::test::protocol_sim
