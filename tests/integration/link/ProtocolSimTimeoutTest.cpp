// Replies that never come and links that go away. Waits on TCP/IP run on a fake clock that
// moves at each turn of the wait; a serial line is given its real byte time-out, which the
// unit tests of the serial port show on a clock of their own.
#include <gtest/gtest.h>

#include "DeviceFrames.h"
#include "RecordingUi.h"
#include "SimRig.h"

namespace qs::test {
namespace {

const char* const kState = "SY 111 - 5\n";

SimRig::Setup Device(Transport transport, std::vector<std::string> args) {
    args.insert(args.begin(), "--no-dictionary");
    return {transport, std::move(args), kState};
}

TEST(ProtocolSimTimeout, ASilentDeviceOnTcpTimesOutAfterTheReceiveDeadline) {
    RecordingUi ui;
    SimRig sim(Device(Transport::Tcp, {"--persona", "silent"}));
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.Open(Framing::Mini);
    ASSERT_EQ(p->Port()->State(), kStateOpen);

    ScopedIdleClock clock(250);
    Answer none = Ask(*p, "PV SY 111");
    ASSERT_TRUE(none.sent);
    EXPECT_EQ(none.status, kStatusTimeout);
    EXPECT_EQ(p->Port()->Status(), kStatusTimeout);
    EXPECT_EQ(none.reply, "");
    // The receive time-out (3 s) and its grace second, to within one turn of the wait.
    EXPECT_GE(clock.ElapsedMs(), 4000);
    EXPECT_LT(clock.ElapsedMs(), 4250);
    // Silence is no reason to drop the connection.
    EXPECT_EQ(p->Port()->State(), kStateOpen);

    // The caller's prefix is not shown for a port failure; the port's status text is.
    p->ReportError("Cannot read SY 111", MB_OK);
    EXPECT_NE(ui.LastMessage().find("Timeout waiting for response"), std::string::npos) << ui.LastMessage();
    EXPECT_EQ(ui.LastMessage().find("Cannot read"), std::string::npos) << ui.LastMessage();

    ASSERT_TRUE(sim.WaitForFrames(1, 0));
    EXPECT_EQ(Hex(sim.Received().at(0).bytes), Hex(RequestBytes(Framing::Mini, Transport::Tcp, 1, "PV SY 111")));
    EXPECT_TRUE(sim.Sent().empty());
}

TEST(ProtocolSimTimeout, AReplyDroppedOnASerialLineTimesOutAndTheLineStaysUsable) {
    SimRig sim(Device(Transport::Pty, {"--fault", "drop,count=1"}));
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.Open(Framing::Terminal);
    ASSERT_GE(p->Port()->State(), kStateOpen);

    Answer none = Ask(*p, "PV SY 111");
    EXPECT_EQ(none.status, kStatusTimeout);
    EXPECT_EQ(p->Port()->Status(), kStatusTimeout);

    Answer next = Ask(*p, "PV SY 111");
    EXPECT_EQ(next.status, kStatusOk);
    EXPECT_EQ(next.reply, "PV SY 111 5");
    EXPECT_EQ(p->Port()->State(), kStateReadOk);

    ASSERT_TRUE(sim.WaitForFrames(2, 1));
    EXPECT_EQ(sim.Received().size(), 2u);
    EXPECT_EQ(sim.Sent().size(), 1u);
}

TEST(ProtocolSimTimeout, AFrameToAnAddressNotServedIsLoggedAndNeverAnswered) {
    SimRig sim(Device(Transport::Pty, {"--addresses", "1,2"}));
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.OpenMini(7);

    EXPECT_EQ(Ask(*p, "PV SY 111").status, kStatusTimeout);
    p->SetAddress(2);
    EXPECT_EQ(Ask(*p, "PV SY 111").reply, "PV SY 111 5");

    ASSERT_TRUE(sim.WaitForFrames(2, 1));
    const auto rx = sim.Received();
    EXPECT_EQ(rx.at(0).address, 7);
    EXPECT_EQ(rx.at(0).error, "address not served");
    EXPECT_EQ(Hex(rx.at(0).bytes), Hex(RequestBytes(Framing::Mini, Transport::Pty, 7, "PV SY 111")));
    EXPECT_EQ(rx.at(1).error, "");
    EXPECT_EQ(AddressesOf(sim.Sent()), std::vector<int>{2});
}

class ProtocolSimTcpClose : public ::testing::TestWithParam<Framing> {};

TEST_P(ProtocolSimTcpClose, AConnectionClosedByTheDeviceEndsTheLinkAtOnce) {
    SimRig sim(Device(Transport::Tcp, {"--fault", "close-after=3"}));
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto p = sim.Open(GetParam());
    EXPECT_EQ(Ask(*p, "PV SY 111").status, kStatusOk);
    EXPECT_EQ(Ask(*p, "GP").status, kStatusOk);

    // Seen as closed, not waited out (a wait that ran out leaves the link open).
    Answer lost = Ask(*p, "PV SY 111");
    ASSERT_TRUE(lost.sent);
    EXPECT_EQ(lost.status, kStatusTimeout);
    EXPECT_EQ(p->Port()->State(), kStateClosed);
    EXPECT_EQ(p->Port()->Describe(1), "Comm Not Enabled");

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

INSTANTIATE_TEST_SUITE_P(Framings, ProtocolSimTcpClose, ::testing::Values(Framing::Terminal, Framing::Mini), LinkName());

}  // namespace
}  // namespace qs::test
