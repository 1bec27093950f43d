#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingUi.h"
#include "RuntimeFolder.h"
#include "platform/ControlSocket.h"

namespace qs::test {

namespace {

using M = ControlMessage;
using Messages = std::vector<ControlMessage>;

// Pumps until `want` messages have been taken or `timeoutMs` has passed, waiting on the
// socket's descriptors in between.
Messages PumpUntil(ControlSocket& s, size_t want, int timeoutMs = 2000) {
    Messages got;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        for (auto m : s.Poll()) got.push_back(m);
        if (got.size() >= want || std::chrono::steady_clock::now() >= deadline) return got;
        std::vector<pollfd> fds;
        for (int fd : s.Fds()) fds.push_back({fd, POLLIN, 0});
        ::poll(fds.data(), fds.size(), 20);
    }
}

}  // namespace

TEST(ControlMessageText, NamesOnTheWire) {
    EXPECT_STREQ(ControlMessageText(M::kRestore), "RESTORE");
    EXPECT_STREQ(ControlMessageText(M::kRemoteDisplayDone), "RemoteDisplayDone");
    EXPECT_STREQ(ControlMessageText(M::kMmiDone), "MMIDone");
    EXPECT_EQ(ParseControlMessage("MMIDone\r"), M::kMmiDone);
    EXPECT_EQ(ParseControlMessage("mmidone"), std::nullopt);
    EXPECT_EQ(ParseControlMessage(" RESTORE"), std::nullopt);
    EXPECT_EQ(ParseControlMessage(std::string_view("RESTORE\0", 8)), std::nullopt);
}

TEST(ControlSocket, MessagesFromSendControlMessageArriveInOrder) {
    RuntimeFolder rt;
    ControlSocket server;
    std::string error;
    ASSERT_TRUE(server.Listen({}, &error)) << error;
    EXPECT_EQ(server.Path(), rt.SocketPath());
    EXPECT_TRUE(::fcntl(server.Fd(), F_GETFD) & FD_CLOEXEC);
    EXPECT_TRUE(::fcntl(server.Fd(), F_GETFL) & O_NONBLOCK);
    struct stat st {};
    ASSERT_EQ(::lstat(rt.SocketPath().c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // Nothing pending: a pump returns at once with nothing.
    EXPECT_TRUE(server.Poll().empty());

    ASSERT_TRUE(SendControlMessage({}, M::kRemoteDisplayDone, 1000, &error)) << error;
    ASSERT_TRUE(SendControlMessage(rt.Dir(), M::kMmiDone, 1000, &error)) << error;
    ASSERT_TRUE(SendControlMessage({}, M::kRestore, 1000, &error)) << error;
    EXPECT_EQ(PumpUntil(server, 3), (Messages{M::kRemoteDisplayDone, M::kMmiDone, M::kRestore}));
    EXPECT_EQ(server.ClientCount(), 0u) << "clients that said their line and left are closed";
}

TEST(ControlSocket, LinesSplitAcrossReadsAndClientsInterleaved) {
    RuntimeFolder rt;
    ControlSocket server;
    ASSERT_TRUE(server.Listen());
    RawClient a(rt.SocketPath()), b(rt.SocketPath()), c(rt.SocketPath());

    ASSERT_TRUE(a.Send("RemoteDis"));
    ASSERT_TRUE(b.Send("MMIDo"));
    ASSERT_TRUE(c.Send("RES"));
    EXPECT_TRUE(server.Poll().empty()) << "no line is complete yet";
    EXPECT_EQ(server.ClientCount(), 3u);

    ASSERT_TRUE(c.Send("TO"));
    ASSERT_TRUE(a.Send("playDone\r\nMMI"));  // a's second line starts in the same piece
    EXPECT_EQ(server.Poll(), (Messages{M::kRemoteDisplayDone}));

    ASSERT_TRUE(b.Send("ne\n"));
    ASSERT_TRUE(c.Send("RE\n"));
    ASSERT_TRUE(a.Send("Done\n"));
    // One queue in order of arrival; b's and a's MMIDone are one waiting message.
    EXPECT_EQ(server.Poll(), (Messages{M::kMmiDone, M::kRestore}));

    // A last line without its newline counts when its client closes.
    ASSERT_TRUE(b.Send("RemoteDisplayDone"));
    b.Close();
    EXPECT_EQ(PumpUntil(server, 1), (Messages{M::kRemoteDisplayDone}));
    EXPECT_EQ(server.ClientCount(), 2u);
}

TEST(ControlSocket, OverlongAndUnknownLinesAreDropped) {
    RuntimeFolder rt;
    ControlSocket server;
    ASSERT_TRUE(server.Listen());
    RawClient client(rt.SocketPath());

    // An overlong line ending in a known word is dropped whole, across several reads (its
    // tail past the longest length is exactly a word, and must not be taken for one).
    ASSERT_TRUE(client.Send(std::string(ControlSocket::kMaxLineLength - 24, 'x')));
    EXPECT_TRUE(server.Poll().empty());
    ASSERT_TRUE(client.Send(std::string(24, 'x') + "RESTORE"));
    EXPECT_TRUE(server.Poll().empty());
    ASSERT_TRUE(client.Send("\nrestore\nHELLO\n\n\r\nRESTORE \nMMIDone\n"));
    EXPECT_EQ(server.Poll(), (Messages{M::kMmiDone}));

    // A flood larger than one pump's share is read over several pumps and nothing is lost.
    std::string flood;
    while (flood.size() < 3 * ControlSocket::kMaxReadPerPump) flood += "NOISE\n";
    flood += "RESTORE\n";
    ASSERT_TRUE(client.Send(flood));
    EXPECT_TRUE(server.Poll().empty()) << "one pump reads a bounded share";
    EXPECT_EQ(PumpUntil(server, 1), (Messages{M::kRestore}));
}

TEST(ControlSocket, MessagesWaitInTheQueueUntilTaken) {
    RuntimeFolder rt;
    ControlSocket server;
    ASSERT_TRUE(server.Listen());
    // During a transfer the GUI only pumps: messages stay queued, none is lost or doubled.
    ASSERT_TRUE(SendControlMessage({}, M::kRemoteDisplayDone, 1000));
    server.Pump();
    ASSERT_TRUE(SendControlMessage({}, M::kRestore, 1000));
    server.Pump();
    ASSERT_TRUE(SendControlMessage({}, M::kRestore, 1000));
    server.Pump();
    EXPECT_TRUE(server.HasQueued());
    EXPECT_EQ(server.Take(), (Messages{M::kRemoteDisplayDone, M::kRestore}));
    EXPECT_FALSE(server.HasQueued());
    EXPECT_TRUE(server.Take().empty());
    // Once taken, the same message queues again.
    ASSERT_TRUE(SendControlMessage({}, M::kRestore, 1000));
    EXPECT_EQ(PumpUntil(server, 1), (Messages{M::kRestore}));
}

TEST(ControlSocket, SilentClientsAreDroppedAndOthersWaitForAPlace) {
    RuntimeFolder rt;
    FakeClock clock;
    ControlSocket server(&clock);
    ASSERT_TRUE(server.Listen());

    std::vector<std::unique_ptr<RawClient>> silent;
    for (size_t i = 0; i < ControlSocket::kMaxClients; ++i) silent.push_back(std::make_unique<RawClient>(rt.SocketPath()));
    ASSERT_TRUE(silent[0]->Send("RES"));
    server.Pump();
    EXPECT_EQ(server.ClientCount(), ControlSocket::kMaxClients);

    // Every place is taken: a later client's line waits in the backlog, unread but not lost.
    ASSERT_TRUE(SendControlMessage({}, M::kMmiDone, 1000));
    server.Pump();
    EXPECT_FALSE(server.HasQueued());

    // One more second of silence would pass the idle limit: all the silent ones are dropped,
    // and the waiting client is served at the next pump.
    clock.now += ControlSocket::kClientIdleMs - 1;
    server.Pump();
    EXPECT_EQ(server.ClientCount(), ControlSocket::kMaxClients);
    clock.now += 1;
    server.Pump();
    EXPECT_EQ(server.ClientCount(), 0u);
    EXPECT_EQ(server.Poll(), (Messages{M::kMmiDone}));

    // The dropped client's line, finished too late, goes nowhere.
    silent[0]->Send("TORE\n");
    EXPECT_TRUE(server.Poll().empty());
}

TEST(ControlSocket, ListeningNeedsAFreeNameAndAPrivateFolder) {
    RuntimeFolder rt;
    std::string error;
    {
        ControlSocket probe;
        ASSERT_TRUE(probe.Listen({}, &error)) << error;  // makes the folder
    }
    // A socket left by a dead process is not removed by the socket itself (the lock holder's
    // task): listening fails until it is gone.
    LeaveStaleSocket(rt.SocketPath());
    ControlSocket server;
    EXPECT_FALSE(server.Listen({}, &error));
    EXPECT_NE(error.find("Address already in use"), std::string::npos) << error;
    EXPECT_FALSE(server.IsListening());

    // Nobody listening: the sender gives up and says why. Until its time-out it tries again,
    // so a listener that takes the name over meanwhile gets the message.
    EXPECT_FALSE(SendControlMessage({}, M::kRestore, 150, &error));
    EXPECT_NE(error.find(rt.SocketPath()), std::string::npos) << error;
    std::thread sender([] { EXPECT_TRUE(SendControlMessage({}, M::kRestore, 20000)); });
    ASSERT_EQ(::unlink(rt.SocketPath().c_str()), 0);
    ControlSocket successor;
    EXPECT_TRUE(successor.Listen({}, &error)) << error;
    EXPECT_EQ(PumpUntil(successor, 1, 20000), (Messages{M::kRestore}));
    sender.join();
    successor.Close();

    // A folder open to others, or a path too long for a socket address, is refused.
    ASSERT_EQ(::chmod(rt.Dir().c_str(), 0755), 0);
    EXPECT_FALSE(server.Listen({}, &error));
    EXPECT_NE(error.find("open to other users"), std::string::npos) << error;
    EXPECT_FALSE(SendControlMessage({}, M::kRestore, 100, &error));
    std::string deep = rt.Base() + "/" + std::string(110, 'd');
    EXPECT_FALSE(server.Listen(deep, &error));
    EXPECT_NE(error.find("File name too long"), std::string::npos) << error;
}

TEST(ControlSocket, ClosingRemovesOnlyItsOwnSocket) {
    RuntimeFolder rt;
    auto first = std::make_unique<ControlSocket>();
    ASSERT_TRUE(first->Listen());
    // A successor took over the name (after removing what it thought stale).
    ASSERT_EQ(::unlink(rt.SocketPath().c_str()), 0);
    ControlSocket second;
    ASSERT_TRUE(second.Listen());
    first.reset();
    ASSERT_TRUE(SendControlMessage({}, M::kRestore, 1000));
    EXPECT_EQ(PumpUntil(second, 1), (Messages{M::kRestore}));

    second.Close();
    EXPECT_NE(::access(rt.SocketPath().c_str(), F_OK), 0) << "its own socket goes with it";
}

}  // namespace qs::test
