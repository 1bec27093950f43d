#include "emulators/farview/CRemoteDisplayDlg.h"

#include "emulators/farview/CCommSetupDlg.h"

namespace qs::farview {
namespace {

// Screen 0 draws into the first LCD; in the four-display layout screen 1 into the second.
std::vector<const display::Framebuffer*> ScreensOf(RemoteDisplaySession& session) {
    std::vector<const display::Framebuffer*> screens;
    for (int i = 0; i < session.ScreenCount(); ++i) screens.push_back(&session.Screen(i));
    return screens;
}

// The link opens before the faceplate is built, as the dialog's initialisation opens it first.
RemoteDisplaySession& Opened(RemoteDisplaySession& session, FarviewSettings& settings) {
    session.Open(settings.Port(), settings.Address());
    return session;
}

}  // namespace

CRemoteDisplayDlg::CRemoteDisplayDlg(RemoteDisplaySession& session, FarviewSettings& settings, const UiServices& ui,
                                     const FaceplateLayout& layout)
    : CFaceplateDlg(layout, ScreensOf(Opened(session, settings)), settings, ui,
                    {"Farview", ControlMessage::kRemoteDisplayDone, true}),
      session_(session),
      settings_(settings) {}

CRemoteDisplayDlg::~CRemoteDisplayDlg() { Finish(); }

void CRemoteDisplayDlg::CommSetup() {
    CCommSetupDlg setup(this, session_.Port(), session_.Address());
    if (setup.ShowModal() != wxID_OK) return;
    ApplyCommSetup(setup.Port(), setup.Address());
}

void CRemoteDisplayDlg::ApplyCommSetup(int port, const std::string& address) {
    if (!RemoteDisplaySession::NeedsReopen(session_.Port(), session_.Address(), port, address)) return;
    session_.Open(port, address);
    settings_.SetPort(port);
    settings_.SetAddress(address);
}

}  // namespace qs::farview
