#include "appmodel/programdata/PlannedDeviceTools.h"

namespace qs {

PlannedDeviceTools::PlannedDeviceTools(DeviceCommands& commands) {
    constexpr Accelerator kNone{};
    const DeviceCommandRow rows[] = {
        {kCmdThermalCalculator, MenuSection::OfflineTools, "Thermal Expansion &Coeff. Calculator", kNone,
         EnableRule::Always, {}},
    };
    for (const DeviceCommandRow& row : rows) commands.Table().Register(row);
}

}  // namespace qs
