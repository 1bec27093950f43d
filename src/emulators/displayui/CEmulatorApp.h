#pragma once
#include <string>

#include <wx/app.h>
#include <wx/weakref.h>

#include "emulators/displayui/CFaceplateDlg.h"
#include "emulators/displayui/EmulatorPrompt.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace qs::displayui {

// An emulator program: its command line read as one text (the arguments rejoined with single
// blanks), its faceplate shown, and the end when that is closed. SIGTERM and SIGINT close it
// the same way, so the device and Quillset are told.
class CEmulatorApp : public wxApp {
public:
    explicit CEmulatorApp(const wxString& name);

    bool OnInit() override;
    int OnExit() override;

    // Closes whatever dialog is open over the faceplate, then the faceplate.
    void RequestExit();

protected:
    // The program's faceplate for the command line; its settings and session are the program's.
    virtual CFaceplateDlg* CreateFaceplate(const std::string& commandLine) = 0;
    // After the faceplate is gone.
    virtual void EndProgram() {}

    const UiServices& Ui() const { return ui_; }
    const Clock& ProgramClock() const { return clock_; }

private:
    wxString name_;
    SteadyClock clock_;
    EmulatorPrompt prompt_;
    UiServices ui_;
    wxWeakRef<CFaceplateDlg> faceplate_;
};

}  // namespace qs::displayui
