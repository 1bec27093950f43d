#pragma once
#include "appmodel/programdata/DeviceCommands.h"

namespace qs {

// Read All (F3) and Dump All (Alt+F3): every program code of the document from or to the
// device, in a progress window that waits to be closed after a transfer that completed.
class WholeDeviceTransfer final : public DeviceTool {
public:
    static constexpr const char* kReadAllTitle = "Reading Duravane.NET...";

    explicit WholeDeviceTransfer(DeviceCommands& commands);

    // Each returns true when the whole transfer was done.
    bool ReadAll();
    bool DumpAll();

private:
    DeviceCommands& commands_;
};

}  // namespace qs
