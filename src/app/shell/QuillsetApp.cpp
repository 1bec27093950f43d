#include "app/shell/QuillsetApp.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <wx/filehistory.h>
#include <wx/utils.h>

#include "app/shell/CAboutDlg.h"
#include "app/common/CAppOptionsDlg.h"
#include "app/shell/CMainFrame.h"
#include "app/shell/CPowerDocTemplate.h"
#include "app/shell/CSplashWnd.h"
#include "app/shell/CommandIds.h"
#include "app/shell/ContextHelp.h"
#include "app/shell/PrivateFonts.h"
#include "app/shell/QuillsetDocManager.h"
#include "app/shell/SettingsStore.h"
#include "app/shell/ShellContext.h"
#include "app/tools/wizard/CDX3PropertySheet.h"
#include "app/common/WxUiServices.h"
#include "platform/InstanceToken.h"
#include "platform/Paths.h"
#include "programdata/DefinitionProtocol.h"
#include "programdata/DefinitionSource.h"
#include "programdata/ParamDictionary.h"

namespace qs {

QuillsetApp::QuillsetApp() : ini_(paths::IniPath()) {
    SetAppName("Quillset");
    SetAppDisplayName("Quillset");
    SetVendorName("Norvane Technologies");
}

QuillsetApp::~QuillsetApp() = default;

bool QuillsetApp::Fail(const std::string& message, int status) {
    std::fprintf(stderr, "quillset: %s\n", message.c_str());
    earlyExit_ = status;
    if (frame_) {
        frame_->Destroy();
        frame_ = nullptr;
    }
    // OnRun ends at once with the status; OnExit still tidies up.
    return true;
}

bool QuillsetApp::OnInit() {
    // The command line is ours (no options of the toolkit's own parser).
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(argv[i].utf8_string());
    commandLine_ = ShellCommandLine::Parse(args);
    if (commandLine_.action == ShellCommandLine::Action::kUsage) {
        std::fputs(ShellCommandLine::Usage(), stdout);
        earlyExit_ = 0;
        return true;
    }
    if (commandLine_.action == ShellCommandLine::Action::kBad)
        return Fail(commandLine_.error + "\n" + ShellCommandLine::Usage(), 2);

    // One Quillset per user: a second start hands over to the first and ends.
    switch (instance_.Acquire()) {
    case SingleInstance::Status::kSecondary:
        if (!instance_.RestoreDelivered())
            std::fprintf(stderr, "quillset: already running, but its window could not be reached\n");
        earlyExit_ = 0;
        return true;
    case SingleInstance::Status::kPrimary: {
        std::string error;
        if (!control_.Listen(instance_.RuntimeDir(), &error))
            std::fprintf(stderr, "quillset: other programs cannot reach this one: %s\n", error.c_str());
        break;
    }
    default:
        std::fprintf(stderr, "quillset: running without the one-instance rule: %s\n", instance_.Error().c_str());
        break;
    }

    // Shipped font faces before any window is made.
    PrivateFonts::Install();

    options_.Load(ini_);
    settings_ = std::make_unique<SettingsStore>();
    ShellContext& shell = Shell();
    shell.options = &options_;
    shell.ports = &ports_;
    shell.settings = settings_.get();
    shell.iniPath = ini_.Path();
    shell.com1 = Com1HookFor(ports_);
    shell.newDeviceWizard = [this] { return CDX3PropertySheet::Run(frame_, frame_->Services()); };
    shell.ftpTimeouts = ftpTimeouts_;

    auto manager = std::make_unique<QuillsetDocManager>(options_.MRUFileCount);
    manager->Initialize();
    docManager_ = std::move(manager);
    if (wxFileHistory* history = docManager_->GetFileHistory()) settings_->LoadHistory(*history);

    frame_ = new CMainFrame(docManager_.get());
    SetTopWindow(frame_);
    templates_ = DocTemplates::Create(*docManager_);
    frame_->SetTemplates(templates_);
    if (control_.IsListening()) frame_->SetControlSocket(&control_);
    InstallWxUiServices(frame_);

    Bind(wxEVT_MENU, &QuillsetApp::OnAppAbout, this, ID_APP_ABOUT);
    Bind(wxEVT_MENU, &QuillsetApp::OnAppOptions, this, ID_APP_OPTIONS);
    Bind(wxEVT_MENU, &QuillsetApp::OnHelpContents, this, ID_HELP_CONTENTS);
    Bind(wxEVT_MENU, &QuillsetApp::OnHelpIndex, this, ID_HELP_INDEX);
    Bind(wxEVT_MENU, &QuillsetApp::OnHelp, this, ID_HELP);

    if (commandLine_.minimized) frame_->Iconize(true);
    frame_->Show();
    // The token's save waits for the disk: the window goes up first.
    if (!InstanceToken::Write(ini_))
        std::fprintf(stderr, "quillset: cannot write the instance token to %s: %s\n", ini_.Path().c_str(),
                     std::strerror(errno));
    if (!commandLine_.minimized) new CSplashWnd(frame_);

    wxBusyCursor wait;
    frame_->Update();
    LoadParamDat();
    // Whatever other programs left on the clipboard stays there.

    if (commandLine_.action == ShellCommandLine::Action::kOpen) {
        if (!docManager_->CreateDocument(wxString::FromUTF8(commandLine_.file), wxDOC_SILENT))
            return Fail("cannot open " + commandLine_.file, 1);
    }
    return true;
}

int QuillsetApp::OnRun() {
    if (earlyExit_) return *earlyExit_;
    return wxApp::OnRun();
}

int QuillsetApp::OnExit() {
    // Documents go first: they give their links back to the port table.
    docManager_.reset();
    Shell() = ShellContext{};
    ParamDictionary::Instance().Clear();
    control_.Close();
    instance_.Release();
    wxApp::OnExit();
    return earlyExit_.value_or(0);
}

Com1Hook QuillsetApp::Com1HookFor(ComPortTable& ports) {
    Com1Hook hook;
    hook.acquire = [&ports]() -> ComProtocol* {
        if (!ports.Protocol(1) && !ports.OpenComPort(1, true)) return nullptr;
        if (!ports.AddRefPort(1)) return nullptr;
        return ports.Protocol(1);
    };
    hook.release = [&ports] { ports.ReleasePort(1); };
    return hook;
}

bool QuillsetApp::LoadParamDat() {
    return ParamDictionary::Instance().LoadOrBuild(DefinitionSource::FromEnvironment(Com1HookFor(ports_)));
}

void QuillsetApp::OnAppAbout(wxCommandEvent&) {
    CAboutDlg dlg(frame_);
    dlg.ShowModal();
}

void QuillsetApp::OnAppOptions(wxCommandEvent&) {
    CAppOptionsDlg dlg(frame_, options_, ini_, Ui());
    if (dlg.ShowModal() == wxID_OK && templates_.programData) templates_.programData->UpdateAllDocuments();
}

void QuillsetApp::OnHelpContents(wxCommandEvent&) { ContextHelp::ShowContents(Ui()); }

void QuillsetApp::OnHelpIndex(wxCommandEvent&) { ContextHelp::ShowIndex(Ui()); }

void QuillsetApp::OnHelp(wxCommandEvent&) {
    // The topic of the nearest window up from the focus that has one; else the contents.
    const int id = ContextHelp::FindFrom(wxWindow::FindFocus());
    if (id != 0) ContextHelp::ShowTopic(Ui(), id);
    else ContextHelp::ShowContents(Ui());
}

}  // namespace qs
