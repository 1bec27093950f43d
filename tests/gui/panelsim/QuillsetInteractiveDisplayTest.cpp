// Quillset's Interactive Display command starts the real panelsim on the arms' line, and
// panelsim's end brings Quillset back; a device that refuses keeps Quillset where it was.
#include <signal.h>

#include "EmulatorLaunchFixture.h"
#include "EmulatorProgram.h"
#include "WmDisplay.h"
#include "XWindows.h"
#include "app/shell/CommandIds.h"

namespace qs::test {
namespace {

bool HandOverReceived(const std::vector<SimFrame>& log) {
    const std::string request("\x53\x56\x20\x04\x17\x46\xFE", 7);
    for (const SimFrame& f : log) {
        if (f.Received() && f.bytes.find(request) != std::string::npos) return true;
    }
    return false;
}

std::string LastFrames(const std::vector<SimFrame>& log) {
    std::string out;
    for (size_t i = log.size() > 6 ? log.size() - 6 : 0; i < log.size(); ++i)
        out += "\n  " + log[i].direction + " " + log[i].text + " " + log[i].error;
    return out;
}

class PanelsimFromQuillset : public EmulatorLaunchFixture {
protected:
    // The document on COM1, the simulator's line, connected, with arms at 1, 2 and 3.
    CSplitterFrame* OpenOnCom1(const SimProcess& sim) {
        home_.Write("QS3X.INI", "[Ports]\nCOM1=" + sim.PtyPath() + "\n");
        CSplitterFrame* child = OpenConnected(WriteDocument("arms.D3X", "", 1), CVexa3Doc::kStateReadOnly);
        if (!child) return nullptr;
        for (int arm = 0; arm < 3; ++arm) doc_->Core().SetArmAddress(arm, arm + 1);
        doc_->Core().SetArmAddress(3, 0);
        return child;
    }
    pid_t InteractiveDisplay(CSplitterFrame* child) { return RunCommand(child, ID_INTERACTIVE_DISPLAY); }
};

TEST_F(PanelsimFromQuillset, TheLineGoesToPanelsimWithTheArmsAndComesBackAtMmiDone) {
    if (!OnOwnWmDisplay()) return;
    ASSERT_TRUE(listening_);
    SimProcess sim(SimProcess::Options{.args = {"--display-handover", "--addresses", "1-3"}, .tcp = false, .pty = true});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    CSplitterFrame* child = OpenOnCom1(sim);
    ASSERT_NE(child, nullptr) << ui.LastMessage();
    ASSERT_TRUE(PumpUntil([&] { return frame->IsShown() && !frame->IsIconized(); }, 5000));

    const pid_t panelsim = InteractiveDisplay(child);
    ASSERT_GT(panelsim, 0) << ui.LastMessage();
    EXPECT_EQ(ArgumentsOf(panelsim),
              (std::vector<std::string>{std::string(QS_BIN_DIR) + "/panelsim", "COM1", "ARMS", "01,02,03"}));
    EXPECT_TRUE(sim.WaitForLog(HandOverReceived));
    EXPECT_EQ(doc_->Core().State(), CVexa3Doc::kStateOffline);
    EXPECT_TRUE(PumpUntil([&] { return frame->IsIconized(); }, 5000)) << "Quillset minimises";

    // Panelsim on the line, polling the three arms and answered by them.
    ASSERT_TRUE(sim.WaitForLog(
        [](const std::vector<SimFrame>& log) {
            bool polled = false, answered = false;
            for (const SimFrame& f : KeysReceived(log)) polled |= f.text == "poll 3";
            for (const SimFrame& f : log) answered |= f.Sent() && f.text == "status line 3";
            return polled && answered && ScriptSent(log);
        },
        std::chrono::seconds(20)));
    EXPECT_TRUE(WaitUntil([] { return FindWindows("^Duravane III MMI$", true).size() == 1; }, std::chrono::seconds(10)));
    PumpFor(1000);
    Screenshot("root", ScreenshotPath("quillset-panelsim.png"));

    const size_t probes = Probes(sim.ReadLog());
    ::kill(panelsim, SIGTERM);
    ASSERT_TRUE(PumpUntil([&] { return Probes(sim.ReadLog()) > probes; }, 20000))
        << "MMIDone did not make Quillset take the line back; the line's last frames: " << LastFrames(sim.ReadLog());
    const std::vector<SimFrame> keys = KeysReceived(sim.ReadLog());
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back().text, "exit");
    EXPECT_EQ(keys.back().address, 0);
    EXPECT_TRUE(PumpUntil([&] { return !frame->IsIconized(); }, 5000)) << "Quillset restored";
    EXPECT_TRUE(PumpUntil([&] { return doc_->Core().State() == CVexa3Doc::kStateOnline; }, 10000));
    Forget();
}

TEST_F(PanelsimFromQuillset, APanelInUseIsSaidAndNothingStarts) {
    if (!OnOwnWmDisplay()) return;
    SimProcess sim(SimProcess::Options{.args = {"--panel-handover", "800F"}, .tcp = false, .pty = true});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    CSplitterFrame* child = OpenOnCom1(sim);
    ASSERT_NE(child, nullptr) << ui.LastMessage();

    EXPECT_LT(InteractiveDisplay(child), 0);
    EXPECT_EQ(ui.LastMessage(), "Cannot activate interactive display if MMI is in use.");
    EXPECT_TRUE(sim.WaitForLog(HandOverReceived));
    EXPECT_TRUE(doc_->Services().launcher.Running().empty());
    EXPECT_FALSE(frame->IsIconized());
    EXPECT_GE(doc_->Core().State(), CVexa3Doc::kStateReadOnly) << "Quillset keeps the line";
}

}  // namespace
}  // namespace qs::test
