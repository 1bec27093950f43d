#pragma once
#include <optional>
#include <string>

#include "appmodel/programdata/DeviceCommands.h"

class wxWindow;

namespace qs {

struct FirmwareVariant;

// The device frame's two firmware upgrades, "&Upgrade DuraVane Firmware..." and "Upgrade &MMI
// Firmware...", offered on TCP/IP documents: each runs the upgrade of its variant over an FTP
// session to the document's device (port 21, the application's time-outs), with the access
// code asked in CPasswordDialog over the frame.
class FirmwareUpgradeCommands final : public DeviceTool {
public:
    // `owner`: the frame the access code is asked over.
    FirmwareUpgradeCommands(DeviceCommands& commands, wxWindow* owner);

    bool OnUpgradeDeviceFirmware();
    bool OnUpgradeMmiFirmware();

private:
    bool Run(const FirmwareVariant& variant);
    // CPasswordDialog; nullopt after Cancel.
    std::optional<std::string> AskAccessCode() const;

    DeviceCommands& commands_;
    wxWindow* owner_;
};

}  // namespace qs
