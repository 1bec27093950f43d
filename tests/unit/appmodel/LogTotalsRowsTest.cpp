// The frame's rows of the log downloads and the totals: their menu texts and rules, the
// connection before anything else, the wait cursor ended before the Save As dialog, and the
// file opened through the launcher.
#include <gtest/gtest.h>

#include "DocumentFixtures.h"
#include "LogFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "appmodel/logs/LogDownloads.h"
#include "appmodel/totals/TotalsCommand.h"
#include "link/MiniProtocol.h"
#include "platform/ProcessLauncher.h"

namespace qs::test {
namespace {

class LogTotalsRows : public ::testing::Test {
protected:
    void SetUp() override {
        doc = std::make_unique<CVexa3Doc>(ports, BuiltDictionary(), &options);
        doc->SetTitle("Bay 2");
        doc->SetPortIndex(CVexa3Doc::kPortTcp);
        doc->SetProtocolKind(kProtocolMini);
        doc->SetTcpProtocolFactory(
            [this](const std::string&, int) -> std::unique_ptr<DX3Protocol> { return device.OpenMini(true); });
        device.answer = [this](int, const std::string& c) -> std::string {
            if (silent) return "";
            if (c == "PV SY 111") return "PV SY 111 5";
            return c == "GP" ? "0A463B8B" : c;
        };
        device.onBlock = [this](const std::string& block, int) { return logs.Serve(device.blockAddresses.back(), block); };
        DeviceCommandHooks hooks;
        hooks.waitCursor = [this](bool busy) { events.push_back(busy ? "busy" : "idle"); };
        commands = std::make_unique<DeviceCommands>(*doc, services, hooks);
        LogDownloadHooks logHooks;
        logHooks.chooseFile = [this](const LogFileChoice& choice) -> std::optional<std::string> {
            events.push_back("dialog " + choice.proposedName);
            return dir.File("out.txt");
        };
        logHooks.openFile = [this](const std::string& path) { events.push_back("open " + path); };
        commands->AddTool<LogDownloads>(logHooks);
        commands->AddTool<TotalsCommand>([this] { events.push_back("totals window"); });
    }

    RecordingUi ui;
    TempDir dir;
    AppOptions options;
    ComPortTable ports;
    ProcessLauncher launcher;
    AppServices services{.ui = ui.services, .options = options, .ports = ports, .launcher = launcher,
                         .programDir = dir.Path()};
    std::unique_ptr<CVexa3Doc> doc;
    ScriptedDevice device;
    FakeLogs logs;
    bool silent = false;
    std::unique_ptr<DeviceCommands> commands;
    std::vector<std::string> events;
};

TEST_F(LogTotalsRows, TheRowsStandInTheToolsSectionAndNeedAConnection) {
    const struct {
        int id;
        const char* text;
    } rows[] = {{kCmdRetrieveNonresettables, "Retrieve &Nonresettables..."},
                {kCmdTransactionLog, "Transaction &Log to File..."},
                {kCmdEventLog, "&Event Log to File..."},
                {kCmdAuditTrailLog, "&Audit Trail Log to File..."}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const DeviceCommandRow* found = commands->Table().Find(row.id);
        ASSERT_NE(found, nullptr);
        EXPECT_STREQ(found->menuText, row.text);
        EXPECT_EQ(found->section, MenuSection::DeviceTools);
        EXPECT_EQ(found->rule, EnableRule::Connected);
        EXPECT_TRUE(found->Available());
        doc->SetState(CVexa3Doc::kStateOffline);
        EXPECT_FALSE(commands->IsEnabled(row.id));
        doc->SetState(CVexa3Doc::kStateReadOnly);
        EXPECT_TRUE(commands->IsEnabled(row.id));
    }
}

TEST_F(LogTotalsRows, ALogIsDownloadedAfterConnectingWithTheCursorBackForTheDialog) {
    logs.events = FakeLogs::Range{1, 2};
    doc->SetState(CVexa3Doc::kStateReadOnly);
    ASSERT_TRUE(commands->Execute(kCmdEventLog));
    EXPECT_EQ(events, (std::vector<std::string>{"busy", "idle", "dialog Bay 2-EventLog.txt", "open " + dir.File("out.txt")}));
    // The probe without the write test, then the log.
    EXPECT_EQ(device.sent.at(0).command, "PV SY 111");
    for (const auto& s : device.sent) EXPECT_FALSE(s.command.starts_with("PC")) << s.command;
    EXPECT_EQ(ReadWhole(dir.File("out.txt")).substr(0, 2), "2,");
}

TEST_F(LogTotalsRows, NoAnswerStopsBeforeAnyRequestOrWindow) {
    silent = true;
    doc->SetState(CVexa3Doc::kStateReadOnly);
    for (int id : {kCmdTransactionLog, kCmdRetrieveNonresettables}) {
        SCOPED_TRACE(id);
        ui.prompt.shown.clear();
        events.clear();
        doc->SetState(CVexa3Doc::kStateReadOnly);
        EXPECT_FALSE(commands->Execute(id));
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Duravane.NET not responding"});
        EXPECT_EQ(events, (std::vector<std::string>{"busy", "idle"}));
        EXPECT_TRUE(device.blocks.empty());
    }
}

TEST_F(LogTotalsRows, TheTotalsWindowOpensOnceConnected) {
    doc->SetState(CVexa3Doc::kStateReadOnly);
    ASSERT_TRUE(commands->Execute(kCmdRetrieveNonresettables));
    EXPECT_EQ(events, (std::vector<std::string>{"busy", "totals window", "idle"}));
    EXPECT_EQ(device.sent.at(0).command, "PV SY 111");
}

TEST_F(LogTotalsRows, TheDesktopOpenerSaysWhenItHasNoProgram) {
    ScopedEnv path("PATH", "");
    auto open = LogDownloads::DesktopOpener(launcher, services.programDir, ui.services);
    open("/tmp/x-TransLog.txt");
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Unable to open /tmp/x-TransLog.txt - xdg-open not found beside "
                                                      "Quillset or on PATH"});
    EXPECT_TRUE(launcher.Running().empty());
}

}  // namespace
}  // namespace qs::test
