// The log downloads from a document's frame: the rows in the device menu, the Save As dialog's
// texts, and a download whose file is handed to the desktop's opener through the launcher.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <wx/menu.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "ShellFixture.h"
#include "SimRig.h"
#include "app/programdata/CDirectoryView.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/shell/CommandIds.h"
#include "app/tools/DeviceToolWindows.h"
#include "app/tools/LogFileDialog.h"
#include "appmodel/programdata/DeviceCommands.h"
#include "platform/ProcessLauncher.h"
#include "programdata/CDirectory.h"

namespace qs::test {
namespace {

// Waits (bounded) until a child has ended, leaving it to its launcher to collect.
bool WaitEnded(pid_t pid) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
        if (info.si_pid == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

class LogDownloadWindow : public ShellFixture {
protected:
    CSplitterFrame* OpenOnline(SimRig& device) {
        CVexa3WxDoc* doc = Open(WriteDocument("rack.D3X", device.Host()));
        if (!doc) return nullptr;
        document = doc;
        auto* tree = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
        if (!tree) return nullptr;
        std::vector<std::string> warnings;
        EXPECT_TRUE(doc->Core().SetParamValue(CDirectory::kConfig, 1, 0, 1));
        EXPECT_TRUE(doc->Core().ApplyConfiguration(&warnings));
        tree->Frame()->RunCommand(kCmdGoOnline);
        return tree->Frame();
    }
    CVexa3WxDoc* document = nullptr;
};

TEST_F(LogDownloadWindow, TheDeviceMenuOffersTheThreeLogsOnceOnline) {
    SimRig device(SimRig::Setup{.args = {"--addresses", "1-6"}});
    ASSERT_TRUE(device.Ready()) << device.Error();
    CSplitterFrame* frame = OpenOnline(device);
    ASSERT_NE(frame, nullptr);
    wxMenuBar* bar = this->frame->GetMenuBar();
    for (int id : {kCmdTransactionLog, kCmdEventLog, kCmdAuditTrailLog, kCmdRetrieveNonresettables}) {
        SCOPED_TRACE(id);
        ASSERT_NE(bar->FindItem(CommandNumber(id)), nullptr);
        EXPECT_TRUE(frame->Commands().IsEnabled(id));
    }
    EXPECT_EQ(bar->FindItem(CommandNumber(kCmdEventLog))->GetItemLabel().utf8_string(), "&Event Log to File...");
}

TEST_F(LogDownloadWindow, TheSaveAsDialogProposesTheLogsFileInTheDocumentsFolder) {
    const LogFileChoice choice{ProposedLogFileName("rack.D3X", LogKind::Audit), TextsOf(LogKind::Audit).dialogTitle};
    std::unique_ptr<wxFileDialog> dialog = LogFileDialog::Make(frame, choice, home_.Path());
    EXPECT_EQ(dialog->GetMessage().utf8_string(), "Select file to store audit trail log data");
    EXPECT_EQ(dialog->GetFilename().utf8_string(), "rack-AuditLog.txt");
    EXPECT_EQ(dialog->GetDirectory().utf8_string(), home_.Path());
    EXPECT_EQ(dialog->GetWildcard().utf8_string(), "Text files (*.txt)|*.txt|All files (*.*)|*.*");
    EXPECT_TRUE(dialog->HasFlag(wxFD_OVERWRITE_PROMPT));
    EXPECT_TRUE(dialog->HasFlag(wxFD_SAVE));
}

TEST_F(LogDownloadWindow, AWrittenLogIsOpenedWithXdgOpenThroughTheLauncher) {
    SimRig device(SimRig::Setup{.args = {"--addresses", "1-6", "--log-range", "event=2-3"}});
    ASSERT_TRUE(device.Ready()) << device.Error();
    CSplitterFrame* frame = OpenOnline(device);
    ASSERT_NE(frame, nullptr);
    ASSERT_GT(document->Core().State(), CVexa3Doc::kStateOffline);

    // The desktop's opener stands in a folder of the test's own: it writes down what it was given.
    TempDir programs;
    programs.Write("xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"${0%/*}/opened\"\n");
    ::chmod(programs.File("xdg-open").c_str(), 0755);
    ProcessLauncher launcher;
    const AppServices& shell = document->Services();
    AppServices services{.ui = shell.ui, .options = shell.options, .ports = shell.ports, .launcher = launcher,
                         .programDir = programs.Path()};
    DeviceCommands commands(document->Core(), services);
    std::vector<LogFileChoice> asked;
    DeviceToolWindows::Add(commands, *document, frame, [&](const LogFileChoice& choice) -> std::optional<std::string> {
        asked.push_back(choice);
        return home_.File("events");
    });
    ASSERT_TRUE(commands.Execute(kCmdEventLog)) << ui.LastMessage();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].proposedName, "rack-EventLog.txt");
    const std::string written = home_.File("events.txt");
    const std::string text = ReadWhole(written);
    EXPECT_EQ(text.substr(0, 2), "3,");
    EXPECT_NE(text.find("\r\n2,"), std::string::npos);
    ASSERT_EQ(launcher.Running().size(), 1u);
    ASSERT_TRUE(WaitEnded(launcher.Running()[0]));
    EXPECT_EQ(ReadWhole(programs.File("opened")), written + "\n");
    launcher.ReapFinished();
}

}  // namespace
}  // namespace qs::test
