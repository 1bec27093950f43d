#pragma once
#include "appmodel/programdata/DeviceCommands.h"

namespace qs {

// The document's link: Go Online, Go Offline, and the document options, whose dialog the
// window shows (DeviceCommandHooks::editOptions) and whose result is applied here.
class LinkCommands final : public DeviceTool {
public:
    explicit LinkCommands(DeviceCommands& commands);

    // True when the device answered.
    bool GoOnline();
    // The link stays open: only the state says not to use it.
    bool GoOffline();
    // The dialog, then its result applied and the views told; false when it was cancelled.
    bool EditOptions();
    // A changed port, protocol or address lets the link go and opens it again as the
    // application options say. `serialSettingsEdited`: the port's serial settings were stored
    // while the dialog was open.
    void ApplyOptions(const DocumentLinkFields& fields, bool serialSettingsEdited);

private:
    DeviceCommands& commands_;
};

}  // namespace qs
