#include "appmodel/programdata/PlannedDeviceTools.h"

namespace qs {

PlannedDeviceTools::PlannedDeviceTools(DeviceCommands& commands) {
    constexpr MenuSection kTools = MenuSection::DeviceTools;
    constexpr Accelerator kNone{};
    const DeviceCommandRow rows[] = {
        {kCmdTerminalEmulator, kTools, "&Terminal Emulator\t Alt+F10", {10, true}, EnableRule::Connected, {}},
        {kCmdRetrieveNonresettables, kTools, "Retrieve &Nonresettables...", kNone, EnableRule::Connected, {}},
        {kCmdTransactionLog, kTools, "Transaction &Log to File...", kNone, EnableRule::Connected, {}},
        {kCmdEventLog, kTools, "&Event Log to File...", kNone, EnableRule::Connected, {}},
        {kCmdAuditTrailLog, kTools, "&Audit Trail Log to File...", kNone, EnableRule::Connected, {}},
        {kCmdUpgradeDeviceFirmware, kTools, "&Upgrade DuraVane Firmware...", kNone, EnableRule::TcpLink, {}},
        {kCmdUpgradeMmiFirmware, kTools, "Upgrade &MMI Firmware...", kNone, EnableRule::TcpLink, {}},
    };
    for (const DeviceCommandRow& row : rows) commands.Table().Register(row);
}

}  // namespace qs
