#include "emulators/displayui/CEmulatorApp.h"

#include <csignal>
#include <vector>

#include <wx/dialog.h>
#include <wx/log.h>

#include "platform/ProcessLauncher.h"

namespace qs::displayui {
namespace {

void OnSignal(int) {
    if (auto* app = dynamic_cast<CEmulatorApp*>(wxTheApp)) app->RequestExit();
}

}  // namespace

CEmulatorApp::CEmulatorApp(const wxString& name) : name_(name), prompt_(name) {
    ui_.prompt = &prompt_;
    ui_.clock = &clock_;
}

bool CEmulatorApp::OnInit() {
    // Not wxApp::OnInit: the command line is the device's words, not options.
    SetSignalHandler(SIGTERM, &OnSignal);
    SetSignalHandler(SIGINT, &OnSignal);
    delete wxLog::SetActiveTarget(new wxLogStderr);
    SetAppName(name_);

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(argv[i].utf8_string());
    CFaceplateDlg* faceplate = CreateFaceplate(ProcessLauncher::JoinArguments(args));
    faceplate_ = faceplate;
    prompt_.SetOwner(faceplate);
    SetTopWindow(faceplate);
    faceplate->Show();
    return true;
}

int CEmulatorApp::OnExit() {
    EndProgram();
    return wxApp::OnExit();
}

void CEmulatorApp::RequestExit() {
    // A dialog running modally over the faceplate ends first; the faceplate closes once its
    // loop has returned.
    for (wxWindow* window : wxTopLevelWindows) {
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal()) dialog->EndModal(wxID_CANCEL);
    }
    CallAfter([this] {
        if (faceplate_) faceplate_->Close(true);
    });
}

}  // namespace qs::displayui
