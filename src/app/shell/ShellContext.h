#pragma once
#include <functional>
#include <string>

#include "link/FtpClient.h"
#include "programdata/DefinitionProtocol.h"

namespace qs {

class ComPortTable;
class ControlSocket;
class SettingsStore;
struct AppOptions;
class CVexa3Doc;

// What the program's edges share for its life: the application options, the COM-port table,
// the settings store, the profile file, how a definition build borrows COM1 and the time-outs
// of the firmware upgrades' FTP session. The
// application fills it at start-up, GUI tests with their own; the main frame reads it once and
// passes what the documents and their windows need on to them (AppServices). Members may be
// null where a test needs none; the frame checks.
struct ShellContext {
    AppOptions* options = nullptr;
    ComPortTable* ports = nullptr;
    SettingsStore* settings = nullptr;
    std::string iniPath;  // "QS3X.INI"
    Com1Hook com1;        // empty: definition files are not built over COM1
    FtpTimeouts ftpTimeouts;

    // Runs the new-device wizard on a scratch document of its own and returns what writes its
    // answers into the new document, or nothing when it was cancelled. Empty until the wizard
    // exists: File New then opens a document set to COM1, as a cancelled wizard does.
    std::function<std::function<void(CVexa3Doc& document)>()> newDeviceWizard;
};

ShellContext& Shell();

}  // namespace qs
