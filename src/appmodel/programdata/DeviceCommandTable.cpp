#include "appmodel/programdata/DeviceCommandTable.h"

#include <algorithm>

namespace qs {

namespace {

constexpr Accelerator kNone{};
constexpr Accelerator Key(int f, bool alt = false) { return Accelerator{f, alt}; }

}  // namespace

std::string Accelerator::Text() const {
    if (functionKey < 1 || functionKey > 12) return {};
    return (alt ? "Alt+F" : "F") + std::to_string(functionKey);
}

const std::vector<DeviceCommandInfo>& DeviceCommandTable::Commands() {
    static const std::vector<DeviceCommandInfo> table = {
        {kCmdReadAll, "Read &All \t F3", Key(3), EnableRule::Always, true},
        {kCmdDumpAll, "Dump &All\t Alt+F3", Key(3, true), EnableRule::Always, true},
        {kCmdReadSelection, "&Read Selection \t F5", Key(5), EnableRule::Always, true},
        {kCmdDumpSelection, "&Dump Selection\t Alt+F5", Key(5, true), EnableRule::Always, true},
        {kCmdTerminalEmulator, "&Terminal Emulator\t Alt+F10", Key(10, true), EnableRule::Connected, false},
        {kCmdRetrieveNonresettables, "Retrieve &Nonresettables...", kNone, EnableRule::Connected, false},
        {kCmdTransactionLog, "Transaction &Log to File...", kNone, EnableRule::Connected, false},
        {kCmdEventLog, "&Event Log to File...", kNone, EnableRule::Connected, false},
        {kCmdAuditTrailLog, "&Audit Trail Log to File...", kNone, EnableRule::Connected, false},
        {kCmdRemoteDisplay, "Remote &Display", kNone, EnableRule::Connected, true},
        {kCmdInteractiveDisplay, "&Interactive Display", kNone, EnableRule::ConnectedSerial, true},
        {kCmdUpgradeDeviceFirmware, "&Upgrade DuraVane Firmware...", kNone, EnableRule::TcpLink, false},
        {kCmdUpgradeMmiFirmware, "Upgrade &MMI Firmware...", kNone, EnableRule::TcpLink, false},
        {kCmdGoOnline, "Go &Online", kNone, EnableRule::Always, true},
        {kCmdGoOffline, "&Go Offline", kNone, EnableRule::Connected, true},
        {kCmdThermalCalculator, "Thermal Expansion &Coeff. Calculator", kNone, EnableRule::Always, false},
        {kCmdDocumentOptions, "&Options for this document...", kNone, EnableRule::Always, true},
    };
    return table;
}

const DeviceCommandInfo* DeviceCommandTable::Find(int id) {
    const auto& table = Commands();
    auto it = std::find_if(table.begin(), table.end(), [id](const DeviceCommandInfo& c) { return c.id == id; });
    return it == table.end() ? nullptr : &*it;
}

bool DeviceCommandTable::RuleHolds(EnableRule rule, int state, int portIndex) {
    constexpr int kOffline = 1;
    constexpr int kTcpPort = 0;
    switch (rule) {
    case EnableRule::Always: return true;
    case EnableRule::Connected: return state > kOffline;
    case EnableRule::ConnectedSerial: return state > kOffline && portIndex != kTcpPort;
    case EnableRule::TcpLink: return portIndex == kTcpPort;
    }
    return false;
}

bool DeviceCommandTable::IsEnabled(int id, int state, int portIndex) {
    const DeviceCommandInfo* info = Find(id);
    return info != nullptr && info->available && RuleHolds(info->rule, state, portIndex);
}

std::string DeviceCommandTable::MenuLabel(const DeviceCommandInfo& info) {
    std::string text = info.menuText;
    text = text.substr(0, text.find('\t'));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace qs
