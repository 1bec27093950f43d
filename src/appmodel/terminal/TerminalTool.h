#pragma once
#include <functional>

#include "appmodel/programdata/DeviceCommands.h"

namespace qs {

// The device frame's Terminal Emulator command (Alt+F10, while the device is connected). The
// window itself is the application's: `openWindow` shows the one terminal window of the
// program - brought to the front when it exists, whichever document it shows, else made on
// this frame's document - and says whether there is one now.
class TerminalTool final : public DeviceTool {
public:
    static constexpr const char* kMenuText = "&Terminal Emulator\t Alt+F10";

    TerminalTool(DeviceCommands& commands, std::function<bool()> openWindow);
};

}  // namespace qs
