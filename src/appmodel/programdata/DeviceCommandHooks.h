#pragma once
#include <functional>
#include <optional>
#include <string>

#include "programdata/DocumentLinkFields.h"

namespace qs {

// What the document options dialog gives back after OK.
struct DocumentOptionsChoice {
    DocumentLinkFields fields;
    // The port's serial settings were stored while the dialog was open.
    bool serialSettingsEdited = false;
};

// What the device commands ask of the window they run in. Each may be left empty (tests, or a
// frame that has nothing to do for it).
struct DeviceCommandHooks {
    // Shows (true) or ends (false) the wait cursor around a command's work.
    std::function<void(bool busy)> waitCursor;
    // The main window's title; an emulator finds the program by "Quillset".
    std::function<void(const std::string& title)> setMainTitle;
    // Minimises the main window while an emulator holds the device's serial port.
    std::function<void()> minimiseMain;
    // Shows the document options dialog on the document's fields; nullopt when it was
    // cancelled. Empty: the command does nothing.
    std::function<std::optional<DocumentOptionsChoice>(const DocumentLinkFields& fields)> editOptions;
};

}  // namespace qs
