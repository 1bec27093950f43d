#include "link/ComPortTable.h"

#include <gtest/gtest.h>

#include "PtyPair.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "link/MiniProtocol.h"
#include "platform/SerialDevice.h"

namespace qs::test {

// COM3 is a pty, COM4 names no device at all.
class ComPortTableTest : public testing::Test {
protected:
    ComPortTableTest() : ini_("QUILLSET_INI", dir_.File("QS3X.INI")) {
        dir_.Write("QS3X.INI", "[Ports]\nCOM3=" + pty_.SlavePath() + "\nCOM4=" + dir_.File("no-such-tty") +
                                   "\n[Comm]\nCOM3=9600,E,7,1\n");
    }
    TempDir dir_;
    PtyPair pty_;
    ScopedEnv ini_;
    RecordingUi ui_;
    ComPortTable table_;
};

TEST_F(ComPortTableTest, OpensWithTheIniSettingsAndTheRequestedFraming) {
    ASSERT_TRUE(table_.OpenComPort(3, true));
    ComProtocol* p = table_.Protocol(3);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ProtocolIndex(), kProtocolMini);
    EXPECT_EQ(p->Port()->Describe(1), "Com3:9600,E,7,1 Address:1");
    EXPECT_EQ(table_.RefCount(3), 0) << "opening adds no reference";

    ASSERT_TRUE(table_.OpenComPort(3, false)) << ui_.LastMessage();
    EXPECT_EQ(table_.Protocol(3)->ProtocolIndex(), kProtocolTerminal);
    EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(ComPortTableTest, GivenSettingsWinOverTheIni) {
    SerialSettings s{19200, 8, NOPARITY, TWOSTOPBITS};
    ASSERT_TRUE(table_.OpenComPort(3, true, &s));
    EXPECT_EQ(table_.Protocol(3)->Port()->Describe(5), "Com3:19200,N,8,2 Address:5");
}

TEST_F(ComPortTableTest, ReferenceCountsDecideWhenTheProtocolGoes) {
    EXPECT_FALSE(table_.AddRefPort(3)) << "empty slot";
    EXPECT_EQ(table_.RefCount(3), 0);

    ASSERT_TRUE(table_.OpenComPort(3, true));
    EXPECT_TRUE(table_.AddRefPort(3));
    EXPECT_TRUE(table_.AddRefPort(3));
    EXPECT_FALSE(table_.ReleasePort(3));
    EXPECT_NE(table_.Protocol(3), nullptr);
    EXPECT_TRUE(table_.ReleasePort(3));
    EXPECT_EQ(table_.Protocol(3), nullptr);
    EXPECT_FALSE(table_.ReleasePort(3)) << "never below zero";
    EXPECT_EQ(table_.RefCount(3), 0);
}

TEST_F(ComPortTableTest, ReopeningReplacesTheObjectAndKeepsTheCount) {
    ASSERT_TRUE(table_.OpenComPort(3, true));
    ASSERT_TRUE(table_.AddRefPort(3));
    ASSERT_TRUE(table_.AddRefPort(3));
    const ComProtocol* first = table_.Protocol(3);
    // The old object closes its line first, so reopening the same locked port succeeds.
    ASSERT_TRUE(table_.OpenComPort(3, false));
    EXPECT_NE(table_.Protocol(3), nullptr);
    EXPECT_EQ(table_.Protocol(3)->ProtocolIndex(), kProtocolTerminal);
    (void)first;
    EXPECT_EQ(table_.RefCount(3), 2);
}

TEST_F(ComPortTableTest, HandOverEmptiesTheSlotButKeepsItsUsers) {
    ASSERT_TRUE(table_.OpenComPort(3, true));
    ASSERT_TRUE(table_.AddRefPort(3));
    table_.CloseSlot(3);
    EXPECT_EQ(table_.Protocol(3), nullptr);
    EXPECT_EQ(table_.RefCount(3), 1);
    // The line is free for the emulator now.
    SerialDevice other;
    EXPECT_TRUE(other.Open(pty_.SlavePath()));
}

TEST_F(ComPortTableTest, QuietFailures) {
    EXPECT_FALSE(table_.OpenComPort(4, true)) << "no device node";
    EXPECT_FALSE(table_.OpenComPort(0, true));
    EXPECT_FALSE(table_.OpenComPort(-1, true));
    EXPECT_FALSE(table_.OpenComPort(100, true));
    EXPECT_FALSE(table_.AddRefPort(100));
    EXPECT_FALSE(table_.ReleasePort(0));
    EXPECT_EQ(table_.Protocol(100), nullptr);

    dir_.Write("QS3X.INI", "[Ports]\nCOM3=" + pty_.SlavePath() + "\n[Comm]\nCOM3=9600,N,8,1.5\n");
    EXPECT_FALSE(table_.OpenComPort(3, true)) << "a settings text the line cannot take";
    EXPECT_EQ(table_.Protocol(3), nullptr);
    EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(ComPortTableTest, APortHeldByAnotherOpenerIsReported) {
    SerialDevice holder;
    ASSERT_TRUE(holder.Open(pty_.SlavePath()));
    ASSERT_TRUE(table_.OpenComPort(3, true) == false);
    EXPECT_EQ(table_.Protocol(3), nullptr);
    ASSERT_EQ(ui_.prompt.shown.size(), 1u);
    EXPECT_EQ(ui_.prompt.shown[0].text, "Unable to open Com3 - Not found or in use");
    EXPECT_EQ(ui_.prompt.shown[0].type & MB_TYPEMASK, MB_OK);
}

}  // namespace qs::test
