#include <poll.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "LoopbackServer.h"
#include "TestEnv.h"
#include "RecordingUi.h"
#include "link/PortFactory.h"
#include "link/TCPPort.h"

namespace qs::test {

namespace {

std::string Text(const std::array<char, 64>& buf, int n) { return std::string(buf.data(), static_cast<size_t>(n > 0 ? n : 0)); }

// Waits (bounded) until bytes the device sent are there to be read.
void WaitReadable(TCPPort& port) {
    pollfd p{port.Socket().Client().Fd(), POLLIN, 0};
    ::poll(&p, 1, 2000);
}

// A device on its own loopback address with the port connected to it.
struct Link {
    explicit Link(const std::string& ip) : server(ip), port(server.Ip(), server.Port()) { accepted = server.Accept(); }
    LoopbackServer server;
    TCPPort port;
    bool accepted = false;
};

}  // namespace

TEST(TcpPort, ConnectsAndDescribesItself) {
    RecordingUi ui;
    Link link("127.77.3.1");
    ASSERT_TRUE(link.accepted);
    TCPPort& port = link.port;
    EXPECT_EQ(port.State(), kStateOpen);
    EXPECT_EQ(port.Status(), kStatusOk);
    EXPECT_TRUE(port.IsNetwork());
    EXPECT_EQ(port.GetDataBits(), 8);
    EXPECT_EQ(port.Socket().ReceiveTimeout(), 3);
    EXPECT_EQ(port.Socket().ConnectTimeout(), 10);
    EXPECT_EQ(port.Describe(5), "TCP/IP: 127.77.3.1:" + std::to_string(link.server.Port()));

    EXPECT_EQ(port.Write("PV SY 111\r\n"), 11);
    EXPECT_EQ(port.Write("\x02" "01GP\x03", 6), 6);
    port.Flush();
    EXPECT_EQ(link.server.DeviceReceives(17), "PV SY 111\r\n\x02" "01GP\x03");
}

TEST(TcpPort, FixedReadIsOneReceiveBoundedByTheBuffer) {
    Link link("127.77.3.2");
    ASSERT_TRUE(link.accepted);
    link.server.DeviceSends("0123456789");
    WaitReadable(link.port);
    std::array<char, 64> buf{};
    int n = link.port.Read(std::span(buf).first(4), 10);
    EXPECT_EQ(Text(buf, n), "0123");
    n = link.port.Read(buf, 64);
    EXPECT_EQ(Text(buf, n), "456789");  // fewer than asked: what one receive brings
    EXPECT_EQ(link.port.Status(), kStatusOk);
}

TEST(TcpPort, TerminatedReads) {
    Link link("127.77.3.3");
    ASSERT_TRUE(link.accepted);
    link.server.DeviceSends("OK\r\nNEXT\nabc\x03");
    std::array<char, 64> buf{};
    int n = link.port.Read(buf, 64, '\n');
    EXPECT_EQ(Text(buf, n), "OK\r\n");
    n = link.port.Read(buf, 0);  // length 0: up to LF
    EXPECT_EQ(Text(buf, n), "NEXT\n");
    n = link.port.Read(buf, 4, 0x03);  // the terminator is the last byte that fits
    EXPECT_EQ(Text(buf, n), "abc\x03");
    EXPECT_EQ(link.port.Status(), kStatusOk);

    link.server.DeviceSends("abcde\n");
    EXPECT_EQ(link.port.Read(buf, 4, '\n'), 0);
    EXPECT_EQ(link.port.Status(), kStatusProtocolError);
    EXPECT_EQ(link.port.State(), kStateOpen);
}

TEST(TcpPort, AReplyWithoutItsTerminatorFailsWhole) {
    RecordingUi recording;
    Link link("127.77.3.4");
    ASSERT_TRUE(link.accepted);
    link.server.DeviceSends("PART");
    ScopedIdleClock ui(500);
    std::array<char, 64> buf{};
    buf.fill('#');
    EXPECT_EQ(link.port.Read(buf, 64, '\n'), 0);
    EXPECT_EQ(link.port.Status(), kStatusTimeout);
    EXPECT_EQ(link.port.State(), kStateOpen);
    // Receive time-out 3 s plus 1 s for the byte that never came.
    EXPECT_GE(ui.ElapsedMs(), 4000);
    EXPECT_LT(ui.ElapsedMs(), 4500);

    ui.SetOnIdle({});
    EXPECT_EQ(link.port.ShowError(nullptr, MB_OK | MB_ICONEXCLAMATION), IDOK);
    ASSERT_EQ(recording.prompt.shown.size(), 1u);
    EXPECT_EQ(recording.prompt.shown[0].text,
              "Error on serial device at port " + std::to_string(link.server.Port()) + ": - Timeout waiting for response");
    EXPECT_EQ(recording.prompt.shown[0].type, unsigned(MB_OK | MB_ICONEXCLAMATION));
}

TEST(TcpPort, PeerCloseEndsTheLink) {
    RecordingUi ui;
    Link link("127.77.3.5");
    ASSERT_TRUE(link.accepted);
    link.server.DeviceCloses();
    std::array<char, 64> buf{};
    EXPECT_EQ(link.port.Read(buf, 0), 0);
    EXPECT_EQ(link.port.Status(), kStatusTimeout);
    EXPECT_EQ(link.port.State(), kStateClosed);
    EXPECT_EQ(link.port.Describe(1), "Comm Not Enabled");
    EXPECT_EQ(link.port.Read(buf, 10), 0);

    EXPECT_EQ(link.port.Write("PV SY 111\r\n"), 0);
    EXPECT_EQ(link.port.Status(), kStatusReceiveError);

    ui.prompt.Answer(IDOK);
    EXPECT_EQ(link.port.ShowError("Cannot program", MB_ABORTRETRYIGNORE), IDABORT);
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_EQ(ui.prompt.shown[0].text, std::strerror(ENOTCONN));
    EXPECT_EQ(ui.prompt.shown[0].caption, "Communications Error");
    EXPECT_EQ(ui.prompt.shown[0].type, unsigned(MB_ICONINFORMATION));
}

TEST(TcpPort, PeerCloseDuringAFixedRead) {
    Link link("127.77.3.6");
    ASSERT_TRUE(link.accepted);
    link.server.DeviceCloses();
    std::array<char, 64> buf{};
    EXPECT_EQ(link.port.Read(buf, 10), 0);
    EXPECT_EQ(link.port.Status(), kStatusTimeout);
    EXPECT_EQ(link.port.State(), kStateClosed);
}

TEST(TcpPort, PurgeInputDropsStaleBytes) {
    Link link("127.77.3.7");
    ASSERT_TRUE(link.accepted);
    link.server.DeviceSends("late reply to the last command\n");
    WaitReadable(link.port);
    link.port.PurgeInput();
    link.server.DeviceSends("fresh\n");
    std::array<char, 64> buf{};
    int n = link.port.Read(buf, 0);
    EXPECT_EQ(Text(buf, n), "fresh\n");
}

TEST(TcpPort, AWaitLimitEndsAReceiveBeforeItsTimeOut) {
    RecordingUi recording;
    Link link("127.77.3.9");
    ASSERT_TRUE(link.accepted);
    EXPECT_EQ(link.port.ReadWaitMs(), 4000);
    std::array<char, 64> buf{};
    for (int64_t limit : {int64_t{1000}, int64_t{0}}) {
        SCOPED_TRACE(limit);
        ScopedIdleClock ui(250);
        link.port.LimitWaits(limit ? FakeClock().now + limit : 0);
        EXPECT_EQ(link.port.Read(buf, 0), 0);
        EXPECT_EQ(link.port.Status(), kStatusTimeout);
        // To within one turn of the wait.
        const int64_t wait = limit ? limit : link.port.ReadWaitMs();
        EXPECT_GE(ui.ElapsedMs(), wait);
        EXPECT_LT(ui.ElapsedMs(), wait + 250);
        // Bytes already there are taken even when the limit has passed.
        link.server.DeviceSends("here\n");
        WaitReadable(link.port);
        link.port.LimitWaits(1);
        EXPECT_EQ(Text(buf, link.port.Read(buf, 0)), "here\n");
        link.port.LimitWaits(0);
    }
}

TEST(TcpPort, AReadFromAnEventDuringAWaitFailsAtOnce) {
    RecordingUi recording;
    Link link("127.77.3.8");
    ASSERT_TRUE(link.accepted);
    int nested = -1, nestedStatus = -1, nestedError = -1, nestedTurns = -1;
    ScopedIdleClock ui(10);
    ui.SetOnIdle([&] {
        if (ui.IdleCalls() != 1) return;
        std::array<char, 16> inner{};
        nested = link.port.Read(inner, 0);
        nestedStatus = link.port.Status();
        nestedError = link.port.SystemError();
        // A wait would have let the user interface run.
        nestedTurns = ui.IdleCalls() - 1;
        link.server.DeviceSends("reply\n");
    });
    std::array<char, 64> buf{};
    int n = link.port.Read(buf, 0);
    EXPECT_EQ(Text(buf, n), "reply\n");
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(nestedStatus, kStatusTimeout);
    EXPECT_EQ(nestedError, EINPROGRESS) << "refused as busy, not waited out";
    EXPECT_EQ(nestedTurns, 0);
    EXPECT_EQ(link.port.State(), kStateOpen);
}

TEST(TcpPort, RefusedConnectLeavesAClosedStreamWithStatus1) {
    RecordingUi ui;
    uint16_t tcpPort;
    {
        LoopbackServer gone("127.77.3.9");
        tcpPort = gone.Port();
    }
    auto port = OpenTcpPort("127.77.3.9", tcpPort);
    EXPECT_EQ(port->State(), kStateClosed);
    EXPECT_EQ(port->Status(), kStatusCannotOpen);
    EXPECT_EQ(port->Describe(3), "Comm Not Enabled");
    std::array<char, 8> buf{};
    EXPECT_EQ(port->Write("X"), 0);
    EXPECT_EQ(port->Read(buf, 1), 0);
    EXPECT_EQ(port->Status(), kStatusCannotOpen);

    ui.prompt.Answer(IDRETRY);
    EXPECT_EQ(port->ShowError(nullptr, MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(ui.LastMessage(), "Error on serial device at port " + std::to_string(tcpPort) + ": - Cannot open Communications Port");

    EXPECT_EQ(OpenTcpPort("127.77.3.9", 0)->Status(), kStatusCannotOpen);
    EXPECT_EQ(OpenTcpPort("127.77.3.9", 70000)->Status(), kStatusCannotOpen);
    EXPECT_EQ(OpenTcpPort("", 7734)->Status(), kStatusCannotOpen);
}

TEST(TcpPort, UnansweredConnectFailsAfterElevenSecondsOfUiTime) {
    LoopbackServer server("127.77.3.10", 0);
    QueueFiller filler(server.Ip(), server.Port());
    ScopedIdleClock ui(1000);
    TCPPort port(server.Ip(), server.Port());
    EXPECT_EQ(port.State(), kStateClosed);
    EXPECT_EQ(port.Status(), kStatusCannotOpen);
    EXPECT_EQ(port.Describe(1), "Comm Not Enabled");
    EXPECT_GE(ui.ElapsedMs(), 11000);
    EXPECT_LT(ui.ElapsedMs(), 12000);
}

}  // namespace qs::test
