#include <fcntl.h>
#include <poll.h>

#include <cerrno>
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "LoopbackServer.h"
#include "TestEnv.h"
#include "platform/TcpClient.h"

namespace qs::test {

namespace {

using Result = TcpClient::Result;

std::string ReceiveText(TcpClient& c, size_t capacity, int64_t timeoutMs = 2000) {
    std::string buf(capacity, '\0');
    size_t n = 0;
    if (c.Receive(buf.data(), buf.size(), n, timeoutMs) != Result::kOk) return "<failed>";
    buf.resize(n);
    return buf;
}

// Waits (bounded) until bytes sent to the client are there to be read.
void WaitReadable(const TcpClient& c) {
    pollfd p{c.Fd(), POLLIN, 0};
    ::poll(&p, 1, 2000);
}

}  // namespace

TEST(TcpClient, ExchangesBytesWithThePeer) {
    LoopbackServer server("127.77.2.1");
    TcpClient client;
    ASSERT_EQ(client.Connect(server.Ip(), server.Port(), 2000), Result::kOk) << client.LastErrorText();
    ASSERT_TRUE(server.Accept());
    EXPECT_TRUE(client.IsConnected());
    EXPECT_TRUE(::fcntl(client.Fd(), F_GETFD) & FD_CLOEXEC);

    ASSERT_EQ(client.Send("PV SY 111\r\n", 11, 2000), Result::kOk);
    EXPECT_EQ(server.DeviceReceives(11), "PV SY 111\r\n");

    // One receive never goes past its room; the rest stays for the next.
    server.DeviceSends("0123456789");
    WaitReadable(client);
    EXPECT_EQ(ReceiveText(client, 4), "0123");
    EXPECT_EQ(ReceiveText(client, 64), "456789");
}

TEST(TcpClient, HostNamesResolve) {
    LoopbackServer server("127.0.0.1");
    TcpClient client;
    EXPECT_EQ(client.Connect("localhost", server.Port(), 2000), Result::kOk) << client.LastErrorText();
}

TEST(TcpClient, RefusedAndInvalidConnects) {
    uint16_t port;
    {
        LoopbackServer gone("127.77.2.2");
        port = gone.Port();
    }
    TcpClient client;
    EXPECT_EQ(client.Connect("127.77.2.2", port, 2000), Result::kError);
    EXPECT_EQ(client.LastError(), ECONNREFUSED);
    EXPECT_EQ(client.Fd(), -1);

    EXPECT_EQ(client.Connect("", 7734, 2000), Result::kError);
    EXPECT_EQ(client.LastError(), EINVAL);
    EXPECT_EQ(client.Connect(std::string(300, 'a'), 7734, 2000), Result::kError);
    EXPECT_EQ(client.LastError(), EINVAL);

    size_t n = 0;
    char c;
    EXPECT_EQ(client.Receive(&c, 1, n, 10), Result::kError);
    EXPECT_EQ(client.LastError(), ENOTCONN);
    EXPECT_EQ(client.Send("x", 1, 10), Result::kError);
}

TEST(TcpClient, PeerCloseIsReportedAsSuch) {
    LoopbackServer server("127.77.2.3");
    TcpClient client;
    ASSERT_EQ(client.Connect(server.Ip(), server.Port(), 2000), Result::kOk);
    ASSERT_TRUE(server.Accept());
    server.DeviceSends("bye");
    server.DeviceCloses();
    WaitReadable(client);
    EXPECT_EQ(ReceiveText(client, 64), "bye");
    char c;
    size_t n = 7;
    EXPECT_EQ(client.Receive(&c, 1, n, 2000), Result::kClosed);
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(client.PeerClosed());
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(client.Send("x", 1, 100), Result::kClosed);
}

TEST(TcpClient, DropPendingDiscardsOnlyWhatHasArrived) {
    LoopbackServer server("127.77.2.4");
    TcpClient client;
    ASSERT_EQ(client.Connect(server.Ip(), server.Port(), 2000), Result::kOk);
    ASSERT_TRUE(server.Accept());
    EXPECT_EQ(client.DropPending(), 0u);
    server.DeviceSends("stale reply");
    WaitReadable(client);
    EXPECT_EQ(client.DropPending(), 11u);
    server.DeviceSends("fresh");
    WaitReadable(client);
    EXPECT_EQ(ReceiveText(client, 64), "fresh");
}

TEST(TcpClient, ReceiveWaitsOnTheUiClockWhileTheUiRuns) {
    LoopbackServer server("127.77.2.5");
    TcpClient client;
    ASSERT_EQ(client.Connect(server.Ip(), server.Port(), 2000), Result::kOk);
    ASSERT_TRUE(server.Accept());

    ScopedIdleClock ui(250);
    char c;
    size_t n = 0;
    EXPECT_EQ(client.Receive(&c, 1, n, 4000), Result::kTimeout);
    EXPECT_EQ(client.LastError(), ETIMEDOUT);
    EXPECT_GE(ui.ElapsedMs(), 4000);
    EXPECT_LT(ui.ElapsedMs(), 4250);
    EXPECT_EQ(ui.IdleCalls(), 16);
    EXPECT_TRUE(client.IsConnected());  // a time-out does not end the connection
}

TEST(TcpClient, AWaitDoesNotNestAnotherExchange) {
    LoopbackServer server("127.77.2.6");
    TcpClient client;
    ASSERT_EQ(client.Connect(server.Ip(), server.Port(), 2000), Result::kOk);
    ASSERT_TRUE(server.Accept());

    Result nestedReceive = Result::kOk, nestedSend = Result::kOk, nestedConnect = Result::kOk;
    int nestedError = 0, nestedTurns = -1;
    ScopedIdleClock ui(10);
    ui.SetOnIdle([&] {
        if (ui.IdleCalls() != 1) return;
        char c;
        size_t n = 0;
        nestedReceive = client.Receive(&c, 1, n, 60000);
        nestedError = client.LastError();
        nestedSend = client.Send("XX", 2, 60000);
        nestedConnect = client.Connect(server.Ip(), server.Port(), 60000);
        // A wait would have let the user interface run.
        nestedTurns = ui.IdleCalls() - 1;
        server.DeviceSends("late");
    });
    EXPECT_EQ(ReceiveText(client, 64, 10000), "late");
    EXPECT_EQ(nestedReceive, Result::kBusy);
    EXPECT_EQ(nestedError, EINPROGRESS);
    EXPECT_EQ(nestedSend, Result::kBusy);
    EXPECT_EQ(nestedConnect, Result::kBusy);
    EXPECT_EQ(nestedTurns, 0) << "refused at once, not waited out";
    // Nothing of the nested exchange reached the peer, and the connection is still the same.
    EXPECT_EQ(server.DeviceReceives(1, 100), "");
    EXPECT_TRUE(client.IsConnected());
}

TEST(TcpClient, UnansweredConnectEndsAtItsDeadline) {
    LoopbackServer server("127.77.2.7", 0);
    QueueFiller filler(server.Ip(), server.Port());
    TcpClient client;
    ScopedIdleClock ui(1000);
    EXPECT_EQ(client.Connect(server.Ip(), server.Port(), 11000), Result::kTimeout);
    EXPECT_EQ(client.LastError(), ETIMEDOUT);
    EXPECT_EQ(ui.ElapsedMs(), 11000);
    EXPECT_EQ(client.Fd(), -1);
}

}  // namespace qs::test
