// The frame's command table: numbers, menu texts and accelerators of the menu, and which
// commands each connection state and port allows.
#include <gtest/gtest.h>

#include <set>

#include "RecordingUi.h"
#include "appmodel/logs/LogDownloads.h"
#include "appmodel/programdata/DeviceCommands.h"
#include "appmodel/totals/TotalsCommand.h"
#include "link/ComPortTable.h"
#include "platform/ProcessLauncher.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {
namespace {

// The rows a frame's commands register.
class DeviceCommandRows : public ::testing::Test {
protected:
    RecordingUi ui;
    ComPortTable ports;
    ProcessLauncher launcher;
    AppOptions options;
    AppServices services{.ui = ui.services, .options = options, .ports = ports, .launcher = launcher};
    CVexa3Doc doc{ports, DefinitionSource{}};
    DeviceCommands commands{doc, services};
    DeviceCommandTable& table = commands.Table();
};

TEST_F(DeviceCommandRows, HoldsEveryCommandOfTheFrameWithItsMenuTextAndKey) {
    // The tools whose windows the frame gives them.
    commands.AddTool<LogDownloads>(LogDownloadHooks{});
    commands.AddTool<TotalsCommand>(nullptr);
    struct Row {
        int id;
        const char* text;
        const char* label;
        const char* key;
    };
    const std::vector<Row> expected = {
        {32776, "Read &All \t F3", "Read &All", "F3"},
        {32777, "Dump &All\t Alt+F3", "Dump &All", "Alt+F3"},
        {32778, "&Read Selection \t F5", "&Read Selection", "F5"},
        {32779, "&Dump Selection\t Alt+F5", "&Dump Selection", "Alt+F5"},
        {32833, "Retrieve &Nonresettables...", "Retrieve &Nonresettables...", ""},
        {32834, "Transaction &Log to File...", "Transaction &Log to File...", ""},
        {32835, "&Event Log to File...", "&Event Log to File...", ""},
        {32836, "&Audit Trail Log to File...", "&Audit Trail Log to File...", ""},
        {32837, "Remote &Display", "Remote &Display", ""},
        {32838, "&Interactive Display", "&Interactive Display", ""},
        {32841, "Go &Online", "Go &Online", ""},
        {32842, "&Go Offline", "&Go Offline", ""},
        {32843, "Thermal Expansion &Coeff. Calculator", "Thermal Expansion &Coeff. Calculator", ""},
        {32848, "&Options for this document...", "&Options for this document...", ""},
    };
    const auto& rows = table.Rows();
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].id);
        EXPECT_EQ(rows[i].id, expected[i].id);
        EXPECT_STREQ(rows[i].menuText, expected[i].text);
        EXPECT_EQ(DeviceCommandTable::MenuLabel(rows[i]), expected[i].label);
        EXPECT_EQ(rows[i].accelerator.Text(), expected[i].key);
        EXPECT_EQ(table.Find(expected[i].id), &rows[i]);
    }
    // The menu's separators: before the tools, the link, the calculator and the options.
    std::vector<size_t> separators;
    for (size_t i = 1; i < rows.size(); ++i)
        if (rows[i].section != rows[i - 1].section) separators.push_back(i);
    EXPECT_EQ(separators, (std::vector<size_t>{4, 10, 12, 13}));
    // The firmware upgrades ask for the access code in a window: the frame registers them.
    EXPECT_EQ(table.Find(kCmdUpgradeDeviceFirmware), nullptr);
    EXPECT_EQ(table.Find(kCmdUpgradeMmiFirmware), nullptr);
    EXPECT_EQ(table.Find(32781), nullptr);
    EXPECT_FALSE(table.IsEnabled(32781, 4, 0));
}

TEST_F(DeviceCommandRows, StateAndPortDecideWhatIsEnabled) {
    // Commands built here, by the rule of each.
    const std::set<int> always = {kCmdReadAll, kCmdDumpAll, kCmdReadSelection, kCmdDumpSelection, kCmdGoOnline,
                                  kCmdDocumentOptions};
    for (int state = 0; state <= 5; ++state) {
        for (int port : {-1, 0, 1, 7, 99}) {
            SCOPED_TRACE("state " + std::to_string(state) + " port " + std::to_string(port));
            for (int id : always) EXPECT_TRUE(table.IsEnabled(id, state, port)) << id;
            const bool connected = state > 1;
            EXPECT_EQ(table.IsEnabled(kCmdRemoteDisplay, state, port), connected);
            EXPECT_EQ(table.IsEnabled(kCmdGoOffline, state, port), connected);
            EXPECT_EQ(table.IsEnabled(kCmdInteractiveDisplay, state, port), connected && port != 0);
            EXPECT_EQ(DeviceCommandTable::RuleHolds(EnableRule::TcpLink, state, port), port == 0);
            EXPECT_EQ(DeviceCommandTable::RuleHolds(EnableRule::Connected, state, port), connected);
        }
    }
}

TEST_F(DeviceCommandRows, CommandsNotBuiltYetStayDisabledWhateverTheirRule) {
    for (int id : {kCmdThermalCalculator}) {
        const DeviceCommandRow* info = table.Find(id);
        ASSERT_NE(info, nullptr) << id;
        EXPECT_FALSE(info->Available()) << id;
        // The rule they will have is there already.
        EXPECT_TRUE(DeviceCommandTable::RuleHolds(info->rule, 4, 0)) << id;
        EXPECT_FALSE(table.IsEnabled(id, 4, 0)) << id;
    }
    EXPECT_EQ(table.Find(kCmdThermalCalculator)->rule, EnableRule::Always);
}

// A tool built later: its row takes the place of the disabled one, runs, and cannot be taken
// back by a disabled row.
class LaterTool final : public DeviceTool {
public:
    LaterTool(DeviceCommands& commands, int id, int& runs) {
        const MenuSection section = commands.Table().Find(id)->section;
        commands.Table().Register({id, section, "Later tool", {}, EnableRule::Connected,
                                   [&runs] { return ++runs > 0; }});
    }
};

TEST_F(DeviceCommandRows, ALaterToolTakesThePlaceOfItsDisabledRow) {
    std::vector<int> before;
    int planned = 0;
    for (const DeviceCommandRow& r : table.Rows()) {
        before.push_back(r.id);
        if (!planned && !r.Available()) planned = r.id;
    }
    ASSERT_NE(planned, 0) << "no disabled row left: this test and the planned rows can go";
    int runs = 0;
    commands.AddTool<LaterTool>(planned, runs);
    std::vector<int> after;
    for (const DeviceCommandRow& r : table.Rows()) after.push_back(r.id);
    EXPECT_EQ(after, before);
    doc.SetState(CVexa3Doc::kStateOnline);
    EXPECT_TRUE(commands.IsEnabled(planned));
    EXPECT_TRUE(commands.Execute(planned));
    EXPECT_EQ(runs, 1);
    table.Register({planned, table.Find(planned)->section, "other", {}, EnableRule::Always, {}});
    EXPECT_TRUE(table.Find(planned)->Available());
    doc.SetState(CVexa3Doc::kStateOffline);
    EXPECT_FALSE(commands.Execute(planned));
    EXPECT_EQ(runs, 1);
}

TEST_F(DeviceCommandRows, TheOptionsRowShowsTheDialogAndAppliesWhatItGives) {
    std::vector<DocumentLinkFields> shown;
    std::optional<DocumentOptionsChoice> answer;
    DeviceCommandHooks hooks;
    hooks.editOptions = [&](const DocumentLinkFields& f) {
        shown.push_back(f);
        return answer;
    };
    DeviceCommands frame(doc, services, hooks);
    doc.SetDescription("old");
    EXPECT_FALSE(frame.Execute(kCmdDocumentOptions));  // cancelled
    EXPECT_EQ(doc.Description(), "old");
    EXPECT_FALSE(doc.IsModified());

    DocumentLinkFields f = doc.GetLinkFields();
    f.description = "north rack";
    answer = DocumentOptionsChoice{f, false};
    EXPECT_TRUE(frame.Execute(kCmdDocumentOptions));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].description, "old");
    EXPECT_EQ(doc.Description(), "north rack");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

}  // namespace
}  // namespace qs::test
