#include <gtest/gtest.h>

#include "LoopbackServer.h"
#include "PtyPair.h"
#include "RecordingUi.h"
#include "SimProcess.h"
#include "emulators/display/DisplayPortOpener.h"
#include "emulators/display/KeyFrame.h"
#include "emulators/display/SerialDisplayPort.h"
#include "emulators/display/TcpDisplayPort.h"

namespace qs::display {
namespace {

const KeyFrame::Bytes kFrame = KeyFrame::Build(0, 'A', 86400, 0);
const std::string kFrameText(kFrame.begin(), kFrame.end());

TEST(DisplayPortOpen, ComNumbersPathsAndMessages) {
    qs::test::RecordingUi ui;
    SteadyClock clock;
    std::vector<int> asked;
    std::string path = "/nonexistent/tty";
    DisplayPortOpener opener(ui.services, clock, [&](int com) {
        asked.push_back(com);
        return path;
    });
    EXPECT_EQ(opener.Open(-1, ""), nullptr);
    EXPECT_EQ(opener.Open(2, ""), nullptr);
    EXPECT_EQ(asked, (std::vector<int>{3, 2}));
    path = "/dev/null";  // opens, but is no serial line
    EXPECT_EQ(opener.Open(4, ""), nullptr);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Error opening communications port", "Error opening communications port",
                                                       "Error initializing communications port"}));
    qs::test::PtyPair pty;
    path = pty.SlavePath();
    EXPECT_NE(opener.Open(1, ""), nullptr);
    // TCP/IP is only started: nothing to report, even for an address that cannot be reached.
    std::unique_ptr<DisplayPort> tcp = opener.Open(0, "no address");
    ASSERT_NE(tcp, nullptr);
    EXPECT_EQ(tcp->ReadByte(clock.NowMs() + 1000), -1);
    EXPECT_EQ(ui.Messages().size(), 3u);
}

TEST(DisplayPortSerial, BytesOneByOneAndKeyFramesWhole) {
    qs::test::PtyPair pty;
    SteadyClock clock;
    SerialDisplayPort port(clock);
    ASSERT_EQ(port.Open(pty.SlavePath()), SerialDisplayPort::OpenResult::kOk);
    pty.DeviceSends("\x02\x02\x01");
    EXPECT_EQ(port.ReadByte(clock.NowMs() + 3000), 0x02);
    EXPECT_EQ(port.ReadByte(clock.NowMs()), 0x02);
    EXPECT_EQ(port.ReadByte(clock.NowMs()), 0x01);
    EXPECT_EQ(port.ReadByte(clock.NowMs()), -1);
    port.Write(kFrame);
    EXPECT_EQ(pty.DeviceReceives(16), kFrameText);
    port.Close();
    EXPECT_EQ(port.ReadByte(clock.NowMs()), -1);
}

TEST(DisplayPortTcp, ConnectsWithoutWaitingReadsWritesAndDrainsOnClose) {
    qs::test::LoopbackServer device(qs::test::SimProcess::UniqueLoopbackAddress());
    SteadyClock clock;
    TcpDisplayPort port(clock);
    port.Start(device.Ip(), device.Port());
    ASSERT_TRUE(device.Accept());
    device.DeviceSends("xyz");
    EXPECT_EQ(port.ReadByte(clock.NowMs() + 3000), 'x');
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(port.ReadByte(clock.NowMs()), 'y');
    EXPECT_EQ(port.ReadByte(clock.NowMs()), 'z');
    port.Write(kFrame);
    EXPECT_EQ(device.DeviceReceives(16), kFrameText);
    port.Write(kFrame);
    port.Write(kFrame);
    port.Close();
    EXPECT_EQ(device.DeviceReceives(32), kFrameText + kFrameText);
}

TEST(DisplayPortTcp, ClosedByTheDeviceYieldsNothing) {
    qs::test::LoopbackServer device(qs::test::SimProcess::UniqueLoopbackAddress());
    SteadyClock clock;
    TcpDisplayPort port(clock);
    port.Start(device.Ip(), device.Port());
    ASSERT_TRUE(device.Accept());
    device.DeviceSends("q");
    device.DeviceCloses();
    EXPECT_EQ(port.ReadByte(clock.NowMs() + 3000), 'q');
    const int64_t before = clock.NowMs();
    EXPECT_EQ(port.ReadByte(before + 3000), -1);
    EXPECT_LT(clock.NowMs() - before, 3000);  // the end is seen, not waited out
    EXPECT_FALSE(port.Connected());
    port.Write(kFrame);  // nowhere to go, and no SIGPIPE
}

}  // namespace
}  // namespace qs::display
