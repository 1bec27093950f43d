#include "appmodel/totals/TotalsCommand.h"

namespace qs {

TotalsCommand::TotalsCommand(DeviceCommands& commands, std::function<void()> openWindow)
    : commands_(commands), openWindow_(std::move(openWindow)) {
    commands.Table().Register({kCmdRetrieveNonresettables, MenuSection::DeviceTools, "Retrieve &Nonresettables...", {},
                               EnableRule::Connected, [this] { return Retrieve(); }});
}

bool TotalsCommand::Retrieve() {
    DeviceCommands::CommandScope scope;
    if (!scope.Entered()) return false;
    DeviceCommands::WaitCursor wait(commands_);
    if (!commands_.Connect(true, DeviceCommands::kNotResponding, &wait)) return false;
    if (!openWindow_) return false;
    openWindow_();
    return true;
}

}  // namespace qs
