#include "appmodel/programdata/PlannedDeviceTools.h"

namespace qs {

PlannedDeviceTools::PlannedDeviceTools(DeviceCommands& commands) {
    constexpr MenuSection kTools = MenuSection::DeviceTools;
    constexpr Accelerator kNone{};
    const DeviceCommandRow rows[] = {
        {kCmdUpgradeDeviceFirmware, kTools, "&Upgrade DuraVane Firmware...", kNone, EnableRule::TcpLink, {}},
        {kCmdUpgradeMmiFirmware, kTools, "Upgrade &MMI Firmware...", kNone, EnableRule::TcpLink, {}},
    };
    for (const DeviceCommandRow& row : rows) commands.Table().Register(row);
}

}  // namespace qs
