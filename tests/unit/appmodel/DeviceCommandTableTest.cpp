// The frame's command table: numbers, menu texts and accelerators as the menus have always had
// them, and which commands each connection state and port allows.
#include <gtest/gtest.h>

#include <set>

#include "appmodel/programdata/DeviceCommandTable.h"

namespace qs::test {
namespace {

TEST(DeviceCommandTable, HoldsEveryCommandOfTheFrameWithItsMenuTextAndKey) {
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
        {32780, "&Terminal Emulator\t Alt+F10", "&Terminal Emulator", "Alt+F10"},
        {32833, "Retrieve &Nonresettables...", "Retrieve &Nonresettables...", ""},
        {32834, "Transaction &Log to File...", "Transaction &Log to File...", ""},
        {32835, "&Event Log to File...", "&Event Log to File...", ""},
        {32836, "&Audit Trail Log to File...", "&Audit Trail Log to File...", ""},
        {32837, "Remote &Display", "Remote &Display", ""},
        {32838, "&Interactive Display", "&Interactive Display", ""},
        {32840, "&Upgrade DuraVane Firmware...", "&Upgrade DuraVane Firmware...", ""},
        {32849, "Upgrade &MMI Firmware...", "Upgrade &MMI Firmware...", ""},
        {32841, "Go &Online", "Go &Online", ""},
        {32842, "&Go Offline", "&Go Offline", ""},
        {32843, "Thermal Expansion &Coeff. Calculator", "Thermal Expansion &Coeff. Calculator", ""},
        {32848, "&Options for this document...", "&Options for this document...", ""},
    };
    const auto& table = DeviceCommandTable::Commands();
    ASSERT_EQ(table.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].id);
        EXPECT_EQ(table[i].id, expected[i].id);
        EXPECT_STREQ(table[i].menuText, expected[i].text);
        EXPECT_EQ(DeviceCommandTable::MenuLabel(table[i]), expected[i].label);
        EXPECT_EQ(table[i].accelerator.Text(), expected[i].key);
        EXPECT_EQ(DeviceCommandTable::Find(expected[i].id), &table[i]);
    }
    EXPECT_EQ(DeviceCommandTable::Find(32781), nullptr);
    EXPECT_FALSE(DeviceCommandTable::IsEnabled(32781, 4, 0));
}

TEST(DeviceCommandTable, StateAndPortDecideWhatIsEnabled) {
    // Commands built here, by the rule of each.
    const std::set<int> always = {kCmdReadAll, kCmdDumpAll, kCmdReadSelection, kCmdDumpSelection, kCmdGoOnline,
                                  kCmdDocumentOptions};
    for (int state = 0; state <= 5; ++state) {
        for (int port : {-1, 0, 1, 7, 99}) {
            SCOPED_TRACE("state " + std::to_string(state) + " port " + std::to_string(port));
            for (int id : always) EXPECT_TRUE(DeviceCommandTable::IsEnabled(id, state, port)) << id;
            const bool connected = state > 1;
            EXPECT_EQ(DeviceCommandTable::IsEnabled(kCmdRemoteDisplay, state, port), connected);
            EXPECT_EQ(DeviceCommandTable::IsEnabled(kCmdGoOffline, state, port), connected);
            EXPECT_EQ(DeviceCommandTable::IsEnabled(kCmdInteractiveDisplay, state, port), connected && port != 0);
            EXPECT_EQ(DeviceCommandTable::RuleHolds(EnableRule::TcpLink, state, port), port == 0);
            EXPECT_EQ(DeviceCommandTable::RuleHolds(EnableRule::Connected, state, port), connected);
        }
    }
}

TEST(DeviceCommandTable, CommandsNotBuiltYetStayDisabledWhateverTheirRule) {
    for (int id : {kCmdTerminalEmulator, kCmdRetrieveNonresettables, kCmdTransactionLog, kCmdEventLog,
                   kCmdAuditTrailLog, kCmdUpgradeDeviceFirmware, kCmdUpgradeMmiFirmware, kCmdThermalCalculator}) {
        const DeviceCommandInfo* info = DeviceCommandTable::Find(id);
        ASSERT_NE(info, nullptr) << id;
        EXPECT_FALSE(info->available) << id;
        // The rule they will have is there already.
        EXPECT_TRUE(DeviceCommandTable::RuleHolds(info->rule, 4, 0)) << id;
        EXPECT_FALSE(DeviceCommandTable::IsEnabled(id, 4, 0)) << id;
    }
    EXPECT_EQ(DeviceCommandTable::Find(kCmdUpgradeDeviceFirmware)->rule, EnableRule::TcpLink);
    EXPECT_EQ(DeviceCommandTable::Find(kCmdTerminalEmulator)->rule, EnableRule::Connected);
    EXPECT_EQ(DeviceCommandTable::Find(kCmdThermalCalculator)->rule, EnableRule::Always);
}

}  // namespace
}  // namespace qs::test
