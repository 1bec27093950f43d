#pragma once
#include <memory>
#include <string>

#include "link/FtpClient.h"
#include "platform/IniProfile.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"
#include "programdata/DefinitionSource.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/ReportItemTokens.h"

namespace qs {

class ComPortTable;
struct AppOptions;
struct UiServices;

// What the application lends the logic of its windows for the program's life: the user's
// services, the application options, the COM-port table every document on a serial port
// shares, the launcher of the emulator programs, and - with defaults for a caller that has no
// other - the profile "QS3X.INI", the folder the emulators are looked for in first, where
// the documents find (and build) their definition files, the time-outs of the FTP session
// of the firmware upgrades, the register dictionary the side documents name registers from,
// and the tokens that let a report entry cut in one window be pasted in another. The
// application makes one at start-up; tests make their own.
struct AppServices {
    const UiServices& ui;
    const AppOptions& options;
    ComPortTable& ports;
    ProcessLauncher& launcher;
    IniProfile profile{paths::IniPath()};
    std::string programDir = ProcessLauncher::ExecutableDir();
    DefinitionSource definitions = DefinitionSource::FromEnvironment();
    FtpTimeouts ftpTimeouts{};
    const ParamDictionary& dictionary = ParamDictionary::Instance();
    std::shared_ptr<ReportItemTokens> reportTokens = ReportItemTokens::ForThisProcess();
};

}  // namespace qs
