// How a dictionary build borrows COM1 from the application's port table.
#include <gtest/gtest.h>

#include "SimRig.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "app/shell/QuillsetApp.h"
#include "link/ComPortTable.h"

namespace qs::test {

TEST(QuillsetCom1Hook, TheBuildTakesAndGivesBackExactlyOneReferenceOnCom1) {
    // Its pty is COM1 in the rig's own "QS3X.INI".
    SimRig sim({.transport = Transport::Pty, .comPort = 1});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    RecordingUi ui;
    ComPortTable ports;
    const Com1Hook hook = QuillsetApp::Com1HookFor(ports);

    // Nobody has COM1 open: the build opens it and it closes again afterwards.
    ComProtocol* borrowed = hook.acquire();
    ASSERT_NE(borrowed, nullptr) << ui.LastMessage();
    EXPECT_EQ(ports.RefCount(1), 1);
    EXPECT_EQ(borrowed->ProtocolIndex(), kProtocolMini);
    hook.release();
    EXPECT_EQ(ports.RefCount(1), 0);
    EXPECT_EQ(ports.Protocol(1), nullptr);

    // A document uses COM1: the build shares its protocol and leaves the document's reference.
    ASSERT_TRUE(ports.OpenComPort(1, true));
    ASSERT_TRUE(ports.AddRefPort(1));
    ComProtocol* documents = ports.Protocol(1);
    EXPECT_EQ(hook.acquire(), documents);
    EXPECT_EQ(ports.RefCount(1), 2);
    hook.release();
    EXPECT_EQ(ports.RefCount(1), 1);
    EXPECT_EQ(ports.Protocol(1), documents) << "still the document's";
    ports.ReleasePort(1);
    EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();
}

TEST(QuillsetCom1Hook, NoCom1NoReference) {
    TempDir dir;
    dir.Write("QS3X.INI", "[Ports]\nCOM1=" + dir.File("no-such-port") + "\n");
    ScopedEnv ini("QUILLSET_INI", dir.File("QS3X.INI"));
    RecordingUi ui;
    ComPortTable ports;
    const Com1Hook hook = QuillsetApp::Com1HookFor(ports);
    EXPECT_EQ(hook.acquire(), nullptr);
    EXPECT_EQ(ports.RefCount(1), 0);
    EXPECT_EQ(ports.Protocol(1), nullptr);
}

}  // namespace qs::test
