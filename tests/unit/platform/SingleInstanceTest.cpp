#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "RuntimeFolder.h"
#include "platform/ControlSocket.h"
#include "platform/SingleInstance.h"

namespace qs::test {

namespace {

using Status = SingleInstance::Status;

std::vector<ControlMessage> PollFor(ControlSocket& s, int timeoutMs = 2000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        auto got = s.Poll();
        if (!got.empty() || std::chrono::steady_clock::now() >= deadline) return got;
        pollfd p{s.Fd(), POLLIN, 0};
        ::poll(&p, 1, 20);
    }
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

TEST(SingleInstance, SecondStartRestoresTheFirstAndTheLockPassesOn) {
    RuntimeFolder rt;
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), Status::kPrimary) << first.Error();
    EXPECT_EQ(first.RuntimeDir(), rt.Dir());
    struct stat st {};
    ASSERT_EQ(::stat((rt.Dir() + "/instance.lock").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ControlSocket server;
    std::string error;
    ASSERT_TRUE(server.Listen(first.RuntimeDir(), &error)) << error;

    SingleInstance second;
    EXPECT_EQ(second.Acquire(), Status::kSecondary) << second.Error();
    EXPECT_TRUE(second.RestoreDelivered()) << second.Error();
    EXPECT_EQ(PollFor(server), std::vector<ControlMessage>{ControlMessage::kRestore});
    EXPECT_TRUE(Exists(rt.SocketPath())) << "a second start leaves the first one's socket alone";

    // The first gives up (socket first, then the lock): the next start is the first again.
    server.Close();
    first.Release();
    SingleInstance third;
    EXPECT_EQ(third.Acquire(), Status::kPrimary) << third.Error();
}

TEST(SingleInstance, SecondStartWhileTheFirstHasNoSocketYetGivesUpInTime) {
    RuntimeFolder rt;
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), Status::kPrimary);
    SingleInstance second;
    EXPECT_EQ(second.Acquire({}, 150), Status::kSecondary);
    EXPECT_FALSE(second.RestoreDelivered());
    EXPECT_FALSE(second.Error().empty());
}

TEST(SingleInstance, LockDiesWithItsProcessAndItsStaleSocketIsRemoved) {
    RuntimeFolder rt;
    // Another process takes the instance, listens, and dies without cleaning up.
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        SingleInstance holder;
        ControlSocket server;
        bool ok = holder.Acquire() == Status::kPrimary && server.Listen(holder.RuntimeDir());
        ::_exit(ok ? 0 : 1);  // no destructors: the socket file stays behind
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(Exists(rt.SocketPath()));

    // Stale socket with nobody behind it: a listener cannot take the name yet...
    ControlSocket early;
    EXPECT_FALSE(early.Listen());

    // ...but the lock is free, and taking it clears the name.
    SingleInstance next;
    ASSERT_EQ(next.Acquire(), Status::kPrimary) << next.Error();
    EXPECT_FALSE(Exists(rt.SocketPath()));
    ControlSocket server;
    std::string error;
    EXPECT_TRUE(server.Listen(next.RuntimeDir(), &error)) << error;
    EXPECT_TRUE(SendControlMessage({}, ControlMessage::kMmiDone, 1000, &error)) << error;
    EXPECT_EQ(PollFor(server), std::vector<ControlMessage>{ControlMessage::kMmiDone});
}

TEST(SingleInstance, UnsafeRuntimeFoldersAndLockFilesAreRefused) {
    RuntimeFolder rt;
    TempDir elsewhere;
    ASSERT_EQ(::chmod(elsewhere.Path().c_str(), 0700), 0);

    // The runtime folder is a link to a private folder: refused, nothing made there.
    ASSERT_EQ(::symlink(elsewhere.Path().c_str(), rt.Dir().c_str()), 0);
    SingleInstance viaLink;
    EXPECT_EQ(viaLink.Acquire(), Status::kError);
    EXPECT_NE(viaLink.Error().find("symbolic link"), std::string::npos) << viaLink.Error();
    EXPECT_FALSE(Exists(elsewhere.File("instance.lock")));
    ASSERT_EQ(::unlink(rt.Dir().c_str()), 0);

    // Open to others.
    ASSERT_EQ(::mkdir(rt.Dir().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(rt.Dir().c_str(), 0755), 0);
    SingleInstance open;
    EXPECT_EQ(open.Acquire(), Status::kError);
    EXPECT_NE(open.Error().find("open to other users"), std::string::npos) << open.Error();
    ASSERT_EQ(::chmod(rt.Dir().c_str(), 0700), 0);

    // Another user's folder (only root can make one to try).
    if (::getuid() == 0) {
        ASSERT_EQ(::chown(rt.Dir().c_str(), 65534, 65534), 0);
        SingleInstance foreign;
        EXPECT_EQ(foreign.Acquire(), Status::kError);
        EXPECT_NE(foreign.Error().find("another user"), std::string::npos) << foreign.Error();
        ASSERT_EQ(::chown(rt.Dir().c_str(), 0, 0), 0);
    }

    // The lock file is a link: not followed, its target neither made nor locked.
    std::string target = elsewhere.File("victim");
    ASSERT_EQ(::symlink(target.c_str(), (rt.Dir() + "/instance.lock").c_str()), 0);
    SingleInstance linkedLock;
    EXPECT_EQ(linkedLock.Acquire(), Status::kError);
    EXPECT_NE(linkedLock.Error().find("symbolic link"), std::string::npos) << linkedLock.Error();
    EXPECT_FALSE(Exists(target));
    ASSERT_EQ(::unlink((rt.Dir() + "/instance.lock").c_str()), 0);

    // A folder named by the caller is checked the same way, and works once it is sound.
    SingleInstance named;
    EXPECT_EQ(named.Acquire(elsewhere.Path() + "/own"), Status::kPrimary) << named.Error();
    EXPECT_EQ(named.RuntimeDir(), elsewhere.Path() + "/own");
}

}  // namespace qs::test
