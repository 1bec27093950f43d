#pragma once
#include <functional>

#include "appmodel/programdata/DeviceCommands.h"

namespace qs {

// Retrieve Nonresettables: connects (without the write test) and opens the totals window on
// the document, which reads the totals once it is shown. Registered by the window, which makes
// the totals window.
class TotalsCommand final : public DeviceTool {
public:
    static constexpr const char* kTitle = "Nonresettable Totals";

    TotalsCommand(DeviceCommands& commands, std::function<void()> openWindow);

    // True when the window was opened.
    bool Retrieve();

private:
    DeviceCommands& commands_;
    std::function<void()> openWindow_;
};

}  // namespace qs
