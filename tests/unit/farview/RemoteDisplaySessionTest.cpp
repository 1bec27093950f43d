#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>

#include <set>
#include <string>

#include "PtyPair.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "emulators/display/QuillsetNotice.h"
#include "emulators/farview/core/RemoteDisplaySession.h"
#include "platform/ControlSocket.h"

namespace qs::farview {
namespace {

// The device's request that starts a checked sequence (window 0, sub-command 0x00).
const std::string kCrcStart("\x02\x02\x01\x13\x00\x00\x00\x00\x03\x7F\x7F", 11);

// Key codes (byte 3) of the 16-byte frames in what the device received.
std::string Codes(const std::string& received) {
    std::string codes;
    for (size_t at = 0; at + 16 <= received.size(); at += 16) codes.push_back(received[at + 3]);
    return codes;
}

struct SessionRig {
    explicit SessionRig(bool master)
        : session(ui.services, clock, {.master = master}, [this](int com) {
              asked = com;
              return pty.SlavePath();
          }) {
        session.Open(5, "");
    }
    qs::test::RecordingUi ui;
    qs::test::PtyPair pty;
    SteadyClock clock;
    int asked = 0;
    RemoteDisplaySession session;
};

TEST(RemoteDisplaySessionLink, MasterAnswersAndHandsTheLineBackAtTheEnd) {
    SessionRig rig(true);
    ASSERT_TRUE(rig.session.HasLink());
    EXPECT_EQ(rig.asked, 5);
    rig.pty.DeviceSends(kCrcStart);
    rig.session.Tick();
    rig.session.SendKey('A');
    rig.session.Shutdown();
    rig.session.Shutdown();
    rig.session.SendKey('B');
    EXPECT_EQ(Codes(rig.pty.DeviceReceives(64, 500)), std::string("\x06" "A" "\xF8", 3));
    EXPECT_FALSE(rig.session.HasLink());
    EXPECT_TRUE(rig.ui.Messages().empty());
}

TEST(RemoteDisplaySessionLink, WithoutMasterOnlyKeysGoOut) {
    SessionRig rig(false);
    rig.pty.DeviceSends(kCrcStart);
    rig.session.Tick();
    rig.session.SendKey('7');
    rig.session.Shutdown();
    EXPECT_EQ(Codes(rig.pty.DeviceReceives(64, 500)), "7");
}

TEST(RemoteDisplaySessionLink, BootScreenTurnsUntilTheDeviceSpeaks) {
    SessionRig rig(false);
    const auto& engine = rig.session.Engine();
    EXPECT_TRUE(rig.session.Tick());
    EXPECT_TRUE(rig.session.Tick());
    EXPECT_EQ(engine.IndicatorSteps(), 2u);
    // A frame that changes nothing still ends the boot screen's redraws.
    rig.pty.DeviceSends(std::string("\x02\x02\x01\x14\x09\x00\x01\x00\x03\x7F\x7F", 11));
    EXPECT_FALSE(rig.session.Tick());
    EXPECT_TRUE(rig.session.Link().ReceivedAnything());
    EXPECT_FALSE(rig.session.Tick());
    EXPECT_EQ(engine.IndicatorSteps(), 2u);
}

TEST(RemoteDisplaySessionLink, APortThatCannotOpenIsSaidAndTheBootScreenGoesOn) {
    qs::test::RecordingUi ui;
    SteadyClock clock;
    RemoteDisplaySession session(ui.services, clock, {}, [](int) { return std::string("/nonexistent/tty"); });
    session.Open(3, "");
    EXPECT_FALSE(session.HasLink());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error opening communications port"});
    EXPECT_TRUE(session.Tick());
    EXPECT_EQ(session.Port(), 3);
    EXPECT_EQ(session.ScreenCount(), 1);
    RemoteDisplaySession quad(ui.services, clock, {.quad = true});
    EXPECT_EQ(quad.ScreenCount(), 2);
}

std::set<int> OpenDescriptors() {
    std::set<int> fds;
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return fds;
    // Not the listing's own descriptor, which is closed again below.
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.' && std::atoi(entry->d_name) != ::dirfd(dir)) fds.insert(std::atoi(entry->d_name));
    }
    ::closedir(dir);
    return fds;
}

TEST(RemoteDisplaySessionLink, TheLinkIsNeverInheritedByAnotherProgram) {
    qs::test::RecordingUi ui;
    qs::test::PtyPair pty;
    SteadyClock clock;
    for (const int port : {5, 0}) {
        RemoteDisplaySession session(ui.services, clock, {}, [&](int) { return pty.SlavePath(); });
        const std::set<int> before = OpenDescriptors();
        session.Open(port, "127.0.0.1");
        ASSERT_TRUE(session.HasLink()) << port;
        int added = 0;
        for (const int fd : OpenDescriptors()) {
            const int flags = ::fcntl(fd, F_GETFD);
            if (before.count(fd) || flags < 0) continue;
            ++added;
            EXPECT_TRUE(flags & FD_CLOEXEC) << "port " << port << ", descriptor " << fd;
        }
        EXPECT_GT(added, 0) << port;
    }
}

TEST(RemoteDisplaySessionLink, ReopenOnlyWhenThePortOrTheTcpAddressChanges) {
    struct Row {
        int oldPort;
        const char* oldAddress;
        int newPort;
        const char* newAddress;
        bool reopen;
    };
    const Row rows[] = {
        {2, "10.0.0.1", 2, "10.0.0.9", false},  // COM2 kept, another address entered
        {2, "10.0.0.1", 2, "10.0.0.1", false},
        {0, "10.0.0.1", 0, "10.0.0.1", false},
        {0, "10.0.0.1", 0, "10.0.0.9", true},
        {1, "10.0.0.1", 2, "10.0.0.1", true},
        {0, "10.0.0.1", 1, "10.0.0.1", true},
        {7, "10.0.0.1", 0, "10.0.0.1", true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(RemoteDisplaySession::NeedsReopen(r.oldPort, r.oldAddress, r.newPort, r.newAddress), r.reopen)
            << r.oldPort << " " << r.oldAddress << " -> " << r.newPort << " " << r.newAddress;
    }
}

TEST(QuillsetNoticePost, ReachesAListeningQuillsetAndNobodyOtherwise) {
    qs::test::TempDir dir;
    const std::string runtime = dir.File("run");
    EXPECT_FALSE(display::QuillsetNotice::Post(ControlMessage::kRemoteDisplayDone, runtime)) << "no Quillset";
    ControlSocket control;
    ASSERT_TRUE(control.Listen(runtime));
    ASSERT_TRUE(display::QuillsetNotice::Post(ControlMessage::kRemoteDisplayDone, runtime));
    std::vector<ControlMessage> got;
    for (int i = 0; i < 1000 && got.empty(); ++i) {
        got = control.Poll();
        if (got.empty()) ::poll(nullptr, 0, 5);
    }
    EXPECT_EQ(got, std::vector<ControlMessage>{ControlMessage::kRemoteDisplayDone});
}

}  // namespace
}  // namespace qs::farview
