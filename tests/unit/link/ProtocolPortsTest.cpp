// The protocols over the real ports their constructors open: a loopback TCP connection and a
// pseudo-terminal standing in for a COM port. The test plays the device on the other end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "LoopbackServer.h"
#include "PtyPair.h"
#include "DeviceFrames.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "link/MiniProtocol.h"

namespace qs::test {

TEST(ProtocolPorts, MinicomputerOverTcpSendsTextWithoutCheckAndBlocksWithIt) {
    LoopbackServer device("127.0.91.1");
    MiniProtocol p(device.Ip(), device.Port(), kProtocolMini, 3);
    ASSERT_GE(p.Port()->State(), kStateOpen);
    ASSERT_TRUE(device.Accept());
    EXPECT_TRUE(p.Port()->IsNetwork());
    EXPECT_EQ(p.GetDataBits(), 8);
    EXPECT_STREQ(p.Name(), "Minicomputer (LRC)");

    // Two commands back to back: nothing comes between the frames.
    ASSERT_NE(p.Send("PV SY 111"), nullptr);
    ASSERT_NE(p.Send("GP"), nullptr);
    const std::string both = "\x02" "03PV SY 111\x03" "\x02" "03GP\x03";
    EXPECT_EQ(Hex(device.DeviceReceives(both.size())), Hex(both));

    device.DeviceSends(MiniReply(3, "PV SY 111 5"));
    std::string reply;
    EXPECT_EQ(p.Receive(reply), 0);
    EXPECT_EQ(ReplyValue(reply), "5");

    ASSERT_NE(p.SendBinary(std::vector<uint8_t>{'S', 'V', ' ', 0x04, 0x16, 0x46, 0xFE}), nullptr);
    EXPECT_EQ(Hex(device.DeviceReceives(14)), "02 30 33 53 56 20 04 16 46 FE 03 8F 7F 00");
    device.DeviceSends(BinaryReply(3, 0x0416, 0x8015));
    std::vector<uint8_t> out;
    EXPECT_EQ(p.ReceiveBinary(out), -kStatusRejected);
    EXPECT_EQ(p.GetErrorText(), "Power Failed During Transaction");
}

TEST(ProtocolPorts, ALinkThatNeverOpenedFailsEveryExchangeWithStatusOne) {
    uint16_t refused = 0;
    {
        LoopbackServer gone("127.0.91.2");
        refused = gone.Port();
    }
    RecordingUi ui;
    TerminalProtocol p("127.0.91.2", refused, kProtocolTerminal, 4);
    EXPECT_EQ(p.Port()->State(), kStateClosed);
    EXPECT_EQ(p.Send("GP"), nullptr);
    EXPECT_EQ(p.Port()->Status(), kStatusCannotOpen);
    std::string reply;
    EXPECT_EQ(p.Receive(reply), kStatusCannotOpen);
    p.ReportError("Cannot connect", MB_OK);
    EXPECT_NE(ui.LastMessage().find("Cannot open Communications Port"), std::string::npos) << ui.LastMessage();
}

TEST(ProtocolPorts, SerialLinkCarriesTheCheckAfterTextFrames) {
    PtyPair line;
    TempDir dir;
    dir.Write("QS3X.INI", "[Ports]\nCOM7=" + line.SlavePath() + "\n");
    ::setenv("QUILLSET_INI", dir.File("QS3X.INI").c_str(), 1);

    SerialSettings settings;
    {
        TerminalProtocol terminal(7, settings, kProtocolTerminal);
        ASSERT_GE(terminal.Port()->State(), kStateOpen);
        EXPECT_EQ(terminal.Address(), 1);
        EXPECT_FALSE(terminal.Port()->IsNetwork());
        ASSERT_NE(terminal.Send("GP"), nullptr);
        EXPECT_EQ(line.DeviceReceives(7), "*01GP\r\n");
        line.DeviceSends(TerminalReply(1, "0A463B8B"));
        std::string reply;
        EXPECT_EQ(terminal.Receive(reply), 0);
        EXPECT_EQ(reply, "0A463B8B");
    }
    MiniProtocol mini(7, settings);
    ASSERT_GE(mini.Port()->State(), kStateOpen);
    EXPECT_EQ(mini.ProtocolIndex(), kProtocolMini);
    EXPECT_EQ(mini.Address(), 1);
    ASSERT_NE(mini.Send("PV SY 111"), nullptr);
    EXPECT_EQ(Hex(line.DeviceReceives(16)), "02 30 31 50 56 20 53 59 20 31 31 31 03 3F 7F 00");
    line.DeviceSends(MiniReply(1, "NO05"));
    std::string reply;
    EXPECT_EQ(mini.Receive(reply), kStatusRejected);
    EXPECT_EQ(mini.GetErrorText(), "No Transaction Ever Done");
}

}  // namespace qs::test
