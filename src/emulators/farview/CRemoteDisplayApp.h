#pragma once
#include <memory>

#include <wx/app.h>
#include <wx/weakref.h>

#include "emulators/displayui/EmulatorPrompt.h"
#include "emulators/farview/CRemoteDisplayDlg.h"
#include "emulators/farview/core/FarviewSettings.h"
#include "emulators/farview/core/RemoteDisplaySession.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace qs::farview {

// The program: reads the command line into the settings, shows the normal or the
// four-display faceplate, and ends when it is closed. SIGTERM and SIGINT close it the same
// way, so the device and Quillset are told.
class CRemoteDisplayApp : public wxApp {
public:
    CRemoteDisplayApp();

    bool OnInit() override;
    int OnExit() override;

    // Closes whatever dialog is open over the faceplate, then the faceplate.
    void RequestExit();

private:
    SteadyClock clock_;
    displayui::EmulatorPrompt prompt_;
    UiServices ui_;
    std::unique_ptr<FarviewSettings> settings_;
    std::unique_ptr<RemoteDisplaySession> session_;
    wxWeakRef<CRemoteDisplayDlg> faceplate_;
};

}  // namespace qs::farview
