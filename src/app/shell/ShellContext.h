#pragma once
#include <functional>
#include <string>

namespace qs {

class ComPortTable;
class ControlSocket;
class SettingsStore;
struct AppOptions;
class CVexa3Doc;

// What Quillset's windows and documents share for the life of the program: the application
// options, the COM-port table, the settings store and the profile file. The application fills
// it at start-up; GUI tests fill it with their own. Members may be null where a test needs
// none; users check.
struct ShellContext {
    AppOptions* options = nullptr;
    ComPortTable* ports = nullptr;
    SettingsStore* settings = nullptr;
    std::string iniPath;  // "QS3X.INI"

    // Runs the new-device wizard on a scratch document of its own and returns what writes its
    // answers into the new document, or nothing when it was cancelled. Empty until the wizard
    // exists: File New then opens a document set to COM1, as a cancelled wizard does.
    std::function<std::function<void(CVexa3Doc& document)>()> newDeviceWizard;
};

ShellContext& Shell();

}  // namespace qs
