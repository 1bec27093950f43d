#pragma once
#include <memory>
#include <optional>
#include <string>

#include <wx/app.h>

#include "app/shell/DocTemplates.h"
#include "link/ComPortTable.h"
#include "link/FtpClient.h"
#include "platform/ControlSocket.h"
#include "platform/IniProfile.h"
#include "appmodel/shell/ShellCommandLine.h"
#include "platform/SingleInstance.h"
#include "programdata/AppOptions.h"
#include "programdata/DefinitionProtocol.h"

class wxDocManager;

namespace qs {

class CMainFrame;
class SettingsStore;

// Quillset's application object. Start-up, in order: one instance per user (a second start
// asks the first to come to the front and ends), the instance token in "QS3X.INI", the
// application options, the settings store with the recent-file list, the main frame and the
// document templates, the splash window, the parameter dictionary ("PARAM.DAT", built from the
// device on COM1 when missing), and the document the command line names. It owns the
// COM-port table every program-data document on a serial port shares, and the time-outs the
// firmware upgrades' FTP session starts from.
//
// A start-up failure before there is a window to show it in goes to standard error, and the
// program ends with a non-zero status.
class QuillsetApp : public wxApp {
public:
    QuillsetApp();
    ~QuillsetApp() override;

    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

    // The COM-port table.
    ComPortTable& Ports() { return ports_; }
    bool OpenComPort(int n, bool useMiniProtocol, const SerialSettings* settings = nullptr) {
        return ports_.OpenComPort(n, useMiniProtocol, settings);
    }
    bool AddRefPort(int n) { return ports_.AddRefPort(n); }
    bool ReleasePort(int n) { return ports_.ReleasePort(n); }

    AppOptions& Options() { return options_; }
    CMainFrame* MainFrame() const { return frame_; }
    const DocTemplates& Templates() const { return templates_; }

    // Loads "PARAM.DAT" into the dictionary, building it from the device first when it is
    // missing. False when the dictionary stays empty.
    bool LoadParamDat();

    // How a definition build borrows COM1 from `ports`: it takes a reference of its own (opening
    // the port when nobody has), whether or not documents use the port, and gives back exactly
    // that one. The application gives it to "PARAM.DAT"'s build and, through the shell, to the
    // documents'.
    static Com1Hook Com1HookFor(ComPortTable& ports);

private:
    // Ends start-up: the message on standard error, the exit status for OnRun.
    bool Fail(const std::string& message, int status);
    void OnAppAbout(wxCommandEvent& event);
    void OnAppOptions(wxCommandEvent& event);
    void OnHelpContents(wxCommandEvent& event);
    void OnHelpIndex(wxCommandEvent& event);
    void OnHelp(wxCommandEvent& event);

    ShellCommandLine commandLine_;
    SingleInstance instance_;
    ControlSocket control_;
    IniProfile ini_;
    AppOptions options_;
    ComPortTable ports_;
    // The FTP session of the firmware upgrades: connect and receive 3000 ms, send 1000 ms.
    FtpTimeouts ftpTimeouts_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<wxDocManager> docManager_;
    CMainFrame* frame_ = nullptr;
    DocTemplates templates_;
    std::optional<int> earlyExit_;
};

}  // namespace qs

// Defined where the program's entry point is made (QuillsetMain.cpp): only the program itself
// has a QuillsetApp.
wxDECLARE_APP(qs::QuillsetApp);
