#pragma once
#include <functional>
#include <string>

#include "appmodel/logs/LogDownloader.h"
#include "appmodel/programdata/DeviceCommands.h"

namespace qs {

class ProcessLauncher;

// The frame's three log commands: Transaction Log, Event Log and Audit Trail Log to File. Each
// connects (without the write test), needs the binary protocol on 8 data bits, and then runs a
// LogDownloader with the window's Save As dialog; the written file is opened in the desktop's
// program for it. Registered by the window, which has the dialog.
class LogDownloads final : public DeviceTool {
public:
    // The program that opens a file in the desktop's default program for it.
    static constexpr const char* kOpener = "xdg-open";

    // `hooks.openFile` empty: DesktopOpener over the commands' services.
    LogDownloads(DeviceCommands& commands, LogDownloadHooks hooks, LogDownloadLimits limits = {});

    // True when the file was written whole.
    bool Download(LogKind kind);

    // Opens a file with "xdg-open <path>" through `launcher`, the program looked for in
    // `programDir` and then on PATH; a failure is said. The arguments are kept by reference.
    static std::function<void(const std::string& path)> DesktopOpener(ProcessLauncher& launcher,
                                                                      const std::string& programDir,
                                                                      const UiServices& ui);
    // "Unable to open <path> - <reason>".
    static std::string OpenFaultText(const std::string& path, const std::string& reason);

private:
    DeviceCommands& commands_;
    LogDownloadHooks hooks_;
    LogDownloadLimits limits_;
};

}  // namespace qs
