#pragma once
#include <string>

#include "emulators/displayui/CFaceplateDlg.h"
#include "emulators/farview/core/FarviewSettings.h"
#include "emulators/farview/core/RemoteDisplaySession.h"
#include "platform/UiServices.h"

namespace qs::farview {

using displayui::FaceplateLayout;
using display::FaceplateKey;
using display::FaceplateKeys;

// Farview's faceplate: the device's LCD (the session's screen 0; screen 1 too in the
// four-display layout) and its 20 keys, each key sent to the device as it is pressed. At the
// end the device gets its line back (key 0xF8 when master) and Quillset is told
// "RemoteDisplayDone".
class CRemoteDisplayDlg : public displayui::CFaceplateDlg {
public:
    CRemoteDisplayDlg(RemoteDisplaySession& session, FarviewSettings& settings, const UiServices& ui,
                      const FaceplateLayout& layout = FaceplateLayout::Normal());
    ~CRemoteDisplayDlg() override;

    // The setup dialog's result: the link is opened again and the settings stored only when
    // the port or (on TCP/IP) the address changed.
    void ApplyCommSetup(int port, const std::string& address);
    RemoteDisplaySession& Session() { return session_; }

protected:
    bool TickSession() override { return session_.Tick(); }
    void KeyButtonPressed(uint8_t code) override { session_.SendKey(code); }
    void PcKeyReleased(uint8_t code) override { session_.SendKey(code); }
    void CommSetup() override;
    void EndSession() override { session_.Shutdown(); }

private:
    RemoteDisplaySession& session_;
    FarviewSettings& settings_;
};

}  // namespace qs::farview
