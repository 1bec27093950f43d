#include "appmodel/terminal/TerminalTool.h"

#include <utility>

namespace qs {

TerminalTool::TerminalTool(DeviceCommands& commands, std::function<bool()> openWindow) {
    commands.Table().Register({kCmdTerminalEmulator, MenuSection::DeviceTools, kMenuText, {10, true},
                               EnableRule::Connected, std::move(openWindow)});
}

}  // namespace qs
