#pragma once
#include <functional>
#include <memory>
#include <string>

#include "emulators/display/DisplayPort.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace qs::display {

// Opens the display link the way the emulators' settings name it: port 0 is TCP/IP to the
// address's display port, n is COMn, and a negative number COM3.
class DisplayPortOpener {
public:
    static constexpr int kDefaultCom = 3;

    DisplayPortOpener(const UiServices& ui, const Clock& clock, std::function<std::string(int)> pathForCom);

    // nullptr after telling the user why the serial port could not be used. A TCP connection
    // is only started, and a failed one is not reported (reads then yield nothing).
    std::unique_ptr<DisplayPort> Open(int port, const std::string& address) const;

private:
    const UiServices& ui_;
    const Clock& clock_;
    std::function<std::string(int)> pathForCom_;
};

}  // namespace qs::display
