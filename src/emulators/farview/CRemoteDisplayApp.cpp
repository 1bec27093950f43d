#include "emulators/farview/CRemoteDisplayApp.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/log.h>

#include "emulators/farview/CRemoteDisplayQuadDlg.h"
#include "emulators/farview/core/FarviewCommandLine.h"
#include "platform/ProcessLauncher.h"

namespace qs::farview {
namespace {

void OnSignal(int) {
    if (auto* app = dynamic_cast<CRemoteDisplayApp*>(wxTheApp)) app->RequestExit();
}

}  // namespace

CRemoteDisplayApp::CRemoteDisplayApp() : prompt_("Farview") {
    ui_.prompt = &prompt_;
    ui_.clock = &clock_;
}

bool CRemoteDisplayApp::OnInit() {
    // Not wxApp::OnInit: the command line is the device's words, not options.
    SetSignalHandler(SIGTERM, &OnSignal);
    SetSignalHandler(SIGINT, &OnSignal);
    delete wxLog::SetActiveTarget(new wxLogStderr);
    SetAppName("Farview");

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(argv[i].utf8_string());
    const FarviewCommandLine line = FarviewCommandLine::Parse(ProcessLauncher::JoinArguments(args));
    for (const std::string& word : line.refused) {
        std::fprintf(stderr, "farview: the number after %s cannot be read; the stored value stays\n", word.c_str());
    }
    settings_ = std::make_unique<FarviewSettings>();
    settings_->Apply(line);

    session_ = std::make_unique<RemoteDisplaySession>(ui_, clock_, RemoteDisplaySession::Setup{line.master, line.quad});
    CRemoteDisplayDlg* faceplate = line.quad ? new CRemoteDisplayQuadDlg(*session_, *settings_, ui_)
                                             : new CRemoteDisplayDlg(*session_, *settings_, ui_);
    faceplate_ = faceplate;
    prompt_.SetOwner(faceplate);
    SetTopWindow(faceplate);
    faceplate->Show();
    return true;
}

int CRemoteDisplayApp::OnExit() {
    session_.reset();
    return wxApp::OnExit();
}

void CRemoteDisplayApp::RequestExit() {
    // A dialog running modally over the faceplate ends first; the faceplate closes once its
    // loop has returned.
    for (wxWindow* window : wxTopLevelWindows) {
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal()) dialog->EndModal(wxID_CANCEL);
    }
    CallAfter([this] {
        if (faceplate_) faceplate_->Close(true);
    });
}

}  // namespace qs::farview
