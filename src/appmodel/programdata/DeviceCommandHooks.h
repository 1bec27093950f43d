#pragma once
#include <functional>
#include <string>

namespace qs {

// What the device commands ask of the window they run in. Each may be left empty (tests, or a
// frame that has nothing to do for it).
struct DeviceCommandHooks {
    // Shows (true) or ends (false) the wait cursor around a command's work.
    std::function<void(bool busy)> waitCursor;
    // The main window's title; an emulator finds the program by "Quillset".
    std::function<void(const std::string& title)> setMainTitle;
    // Minimises the main window while an emulator holds the device's serial port.
    std::function<void()> minimiseMain;
};

}  // namespace qs
