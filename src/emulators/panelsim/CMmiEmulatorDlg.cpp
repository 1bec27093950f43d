#include "emulators/panelsim/CMmiEmulatorDlg.h"

#include "emulators/panelsim/CMmiSetupDlg.h"

namespace qs::panelsim {
namespace {

// The line opens and the polling list is read before the faceplate is built; screen 0 draws
// into the first LCD, screen 1 (the status lines) into the second.
std::vector<const display::Framebuffer*> Prepared(OperatorPanelSession& session, PanelsimSettings& settings) {
    session.Open(settings.Port());
    session.SetArms(settings.AddressList());
    return {&session.Screen(0), &session.Screen(1)};
}

}  // namespace

CMmiEmulatorDlg::CMmiEmulatorDlg(OperatorPanelSession& session, PanelsimSettings& settings, const UiServices& ui)
    : CFaceplateDlg(displayui::FaceplateLayout::Panel(), Prepared(session, settings), settings, ui,
                    {"Panelsim", ControlMessage::kMmiDone, false}),
      session_(session),
      settings_(settings),
      allowHotkeys_(settings.AllowHotkeys()) {
    session_.Start();
}

CMmiEmulatorDlg::~CMmiEmulatorDlg() { Finish(); }

void CMmiEmulatorDlg::PcKeyReleased(uint8_t code) {
    if (allowHotkeys_) session_.PressKey(code);
}

void CMmiEmulatorDlg::CommSetup() {
    CMmiSetupDlg setup(this, session_.Port(), settings_.AddressList());
    if (setup.ShowModal() != wxID_OK) return;
    ApplyCommSetup(setup.Port(), setup.AddressList());
}

void CMmiEmulatorDlg::ApplyCommSetup(int port, const std::string& addressList) {
    settings_.SetAddressList(addressList);
    if (session_.ApplySetup(port, addressList)) settings_.SetPort(port);
}

}  // namespace qs::panelsim
