// The command lines the emulator programs are started with, and the hand-over requests.
#include <gtest/gtest.h>

#include "DeviceFrames.h"
#include "appmodel/launch/EmulatorCommandLine.h"

namespace qs::test {
namespace {

TEST(EmulatorCommandLine, OnlyAZeroInTheFifthPlaceOfTheCfReplyMeansOneDisplay) {
    EXPECT_FALSE(EmulatorCommandLine::UsesQuadLayout(std::string("CF 10")));
    EXPECT_FALSE(EmulatorCommandLine::UsesQuadLayout(std::string("CF 10 and more")));
    EXPECT_TRUE(EmulatorCommandLine::UsesQuadLayout(std::string("CF 14")));
    EXPECT_TRUE(EmulatorCommandLine::UsesQuadLayout(std::string("CF 01")));
    // A rejection as the document gives it: nine blanks, then NO and the code.
    EXPECT_TRUE(EmulatorCommandLine::UsesQuadLayout(std::string("         NO00")));
    // No reply, or one too short to have a fifth character.
    EXPECT_TRUE(EmulatorCommandLine::UsesQuadLayout(std::nullopt));
    EXPECT_TRUE(EmulatorCommandLine::UsesQuadLayout(std::string()));
    EXPECT_TRUE(EmulatorCommandLine::UsesQuadLayout(std::string("0000")));
    EXPECT_FALSE(EmulatorCommandLine::UsesQuadLayout(std::string("00000")));
}

TEST(EmulatorCommandLine, RemoteDisplayGetsTheLinkAndTheLayout) {
    EXPECT_EQ(EmulatorCommandLine::RemoteDisplayOverTcp(0xC0A80001, true), " COM0 ADDRC0A80001 QUAD");
    EXPECT_EQ(EmulatorCommandLine::RemoteDisplayOverTcp(0x0A00FF0B, false), " COM0 ADDR0A00FF0B");
    EXPECT_EQ(EmulatorCommandLine::RemoteDisplayOverTcp(0xFFFFFFFF, false), " COM0 ADDRFFFFFFFF");
    EXPECT_EQ(EmulatorCommandLine::RemoteDisplayOverSerial(2, true), " MASTER COM2 QUAD");
    EXPECT_EQ(EmulatorCommandLine::RemoteDisplayOverSerial(99, false), " MASTER COM99");
}

TEST(EmulatorCommandLine, PanelListsTheArmsUpToTheFirstUnusedOne) {
    EXPECT_EQ(EmulatorCommandLine::Panel(2, {1, 2, 0, 4, 5, 6}), " COM2 ARMS 01,02");
    EXPECT_EQ(EmulatorCommandLine::Panel(3, {3, 0, 5, 0, 0, 0}), " COM3 ARMS 03");
    // The first address is written even when it is 0.
    EXPECT_EQ(EmulatorCommandLine::Panel(1, {0, 7, 0, 0, 0, 0}), " COM1 ARMS 00,07");
    EXPECT_EQ(EmulatorCommandLine::Panel(12, {1, 2, 3, 4, 5, 99}), " COM12 ARMS 01,02,03,04,05,99");
}

TEST(EmulatorCommandLine, HandoverRequestsAreSevenConstantBytes) {
    auto bytes = [](const std::vector<uint8_t>& v) { return Hex(std::string(v.begin(), v.end())); };
    EXPECT_EQ(bytes(EmulatorCommandLine::HandoverRequest(0x0416)), "53 56 20 04 16 46 FE");
    EXPECT_EQ(bytes(EmulatorCommandLine::HandoverRequest(0x0417)), "53 56 20 04 17 46 FE");
}

}  // namespace
}  // namespace qs::test
