#pragma once
#include "appmodel/programdata/DeviceCommands.h"

namespace qs {

// The rows of the device tools that are not part of the program yet: the thermal-expansion
// calculator. Its menu item is shown, disabled, with the rule it will have. A tool that is built
// registers its row with a handler, which takes the place of its row here.
class PlannedDeviceTools final : public DeviceTool {
public:
    explicit PlannedDeviceTools(DeviceCommands& commands);
};

}  // namespace qs
