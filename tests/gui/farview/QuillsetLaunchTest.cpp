// Quillset's Remote Display command as it stands starts the real farview, and farview's end
// brings Quillset back.
#include <signal.h>

#include "EmulatorLaunchFixture.h"
#include "FarviewProgram.h"
#include "WmDisplay.h"
#include "XWindows.h"
#include "app/shell/CommandIds.h"

namespace qs::test {
namespace {

class QuillsetLaunch : public EmulatorLaunchFixture {
protected:
    CSplitterFrame* OpenOnline(const std::string& name, const std::string& host, int port = 0) {
        return OpenConnected(WriteDocument(name, host, port), CVexa3Doc::kStateOnline);
    }
    pid_t RemoteDisplay(CSplitterFrame* child) { return RunCommand(child, ID_REMOTE_DISPLAY); }
};

TEST_F(QuillsetLaunch, OverTcpFarviewGetsTheAddressAndQuillsetStaysOnline) {
    if (!OnOwnWmDisplay()) return;
    ASSERT_TRUE(listening_);
    SimProcess::Options options;
    options.host = SimProcess::UniqueLoopbackAddress();
    options.args = {"--display-tcp", options.host + ":7744"};
    SimProcess sim(options);
    ASSERT_TRUE(sim.Running()) << sim.Error();
    CSplitterFrame* child = OpenOnline("rack.D3X", sim.Host());
    ASSERT_NE(child, nullptr) << ui.LastMessage();

    const pid_t farview = RemoteDisplay(child);
    ASSERT_GT(farview, 0) << ui.LastMessage();
    EXPECT_EQ(ArgumentsOf(farview), (std::vector<std::string>{std::string(QS_BIN_DIR) + "/farview", "COM0",
                                                               farview::test::AddrWord(sim.Host()), "QUAD"}))
        << "the simulator's CF reply has no '0' in its fifth place";
    EXPECT_EQ(doc_->Core().State(), CVexa3Doc::kStateOnline);
    EXPECT_EQ(frame->GetTitle(), "Quillset");
    ASSERT_TRUE(sim.WaitForLog(farview::test::ScriptSent, std::chrono::seconds(20))) << "farview reached the display port";
    EXPECT_FALSE(frame->IsIconized());
    EXPECT_TRUE(WaitUntil([] { return FindWindows("^Duravane IIIQ Remote Display / Keypad$", true).size() == 1; },
                          std::chrono::seconds(10)));
    PumpFor(300);
    Screenshot("root", ScreenshotPath("quillset-farview-tcp.png"));

    const size_t probes = Probes(sim.ReadLog());
    ::kill(farview, SIGTERM);
    ASSERT_TRUE(PumpUntil([&] { return Probes(sim.ReadLog()) > probes; }, 20000))
        << "RemoteDisplayDone did not make Quillset probe the device again";
    EXPECT_EQ(doc_->Core().State(), CVexa3Doc::kStateOnline);
    ASSERT_TRUE(PumpUntil([&] { return doc_->Services().launcher.Running().empty(); }, 5000)) << "farview reaped";
    Forget();
}

TEST_F(QuillsetLaunch, OverSerialTheLineIsHandedToFarviewAndTakenBackWhenItEnds) {
    if (!OnOwnWmDisplay()) return;
    ASSERT_TRUE(listening_);
    SimProcess sim(SimProcess::Options{.args = {"--display-handover"}, .tcp = false, .pty = true});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    home_.Write("QS3X.INI", "[Ports]\nCOM5=" + sim.PtyPath() + "\n");
    CSplitterFrame* child = OpenOnline("bay.D3X", "", 5);
    ASSERT_NE(child, nullptr) << ui.LastMessage();
    ASSERT_TRUE(PumpUntil([&] { return frame->IsShown() && !frame->IsIconized(); }, 5000));

    const pid_t farview = RemoteDisplay(child);
    ASSERT_GT(farview, 0) << ui.LastMessage();
    EXPECT_EQ(ArgumentsOf(farview), (std::vector<std::string>{std::string(QS_BIN_DIR) + "/farview", "MASTER", "COM5", "QUAD"}));
    EXPECT_EQ(doc_->Core().State(), CVexa3Doc::kStateOffline);
    EXPECT_EQ(frame->GetTitle(), "Quillset");
    const std::string handover("\x53\x56\x20\x04\x16\x46\xFE", 7);
    EXPECT_TRUE(sim.WaitForLog([&](const std::vector<SimFrame>& log) {
        for (const SimFrame& f : log) {
            if (f.Received() && f.bytes.find(handover) != std::string::npos) return true;
        }
        return false;
    }));
    EXPECT_TRUE(PumpUntil([&] { return frame->IsIconized(); }, 5000)) << "Quillset minimises";

    // Farview on the line, answering as master.
    ASSERT_TRUE(sim.WaitForLog([](const std::vector<SimFrame>& log) { return farview::test::KeysReceived(log).size() >= 9; },
                               std::chrono::seconds(20)));
    const size_t probes = Probes(sim.ReadLog());
    ::kill(farview, SIGTERM);
    ASSERT_TRUE(PumpUntil([&] { return Probes(sim.ReadLog()) > probes; }, 20000))
        << "RemoteDisplayDone did not make Quillset take the line back";
    const std::vector<SimFrame> keys = farview::test::KeysReceived(sim.ReadLog());
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back().text, "exit") << "0xF8 before the line was given back";
    for (const SimFrame& key : keys) EXPECT_EQ(key.error, "") << key.text;
    EXPECT_TRUE(PumpUntil([&] { return !frame->IsIconized(); }, 5000)) << "Quillset restored";
    EXPECT_TRUE(PumpUntil([&] { return doc_->Core().State() == CVexa3Doc::kStateOnline; }, 10000));
    Forget();
}

}  // namespace
}  // namespace qs::test
