#pragma once
#include <string>

#include "emulators/displayui/CFaceplateDlg.h"
#include "emulators/panelsim/core/OperatorPanelSession.h"
#include "emulators/panelsim/core/PanelsimSettings.h"
#include "platform/UiServices.h"

namespace qs::panelsim {

// Panelsim's faceplate, "Duravane III MMI": the device's display on the first LCD, the status
// lines of the other arms on the second, and the 20 keys, each sent to the current arm. The
// PC's keys (F2 apart) stand for the device's keys, but reach the device only when
// "AllowHotkeys" is set. At the end every arm gets key 0xF8 and Quillset is told "MMIDone".
class CMmiEmulatorDlg : public displayui::CFaceplateDlg {
public:
    CMmiEmulatorDlg(OperatorPanelSession& session, PanelsimSettings& settings, const UiServices& ui);
    ~CMmiEmulatorDlg() override;

    // The setup dialog's result: the address list stored and the polling list rebuilt, the
    // line opened again and the port stored when it changed.
    void ApplyCommSetup(int port, const std::string& addressList);
    OperatorPanelSession& Session() { return session_; }

protected:
    bool TickSession() override { return session_.Tick(); }
    void KeyButtonPressed(uint8_t code) override { session_.PressKey(code); }
    void PcKeyReleased(uint8_t code) override;
    void CommSetup() override;
    void EndSession() override { session_.Shutdown(); }

private:
    OperatorPanelSession& session_;
    PanelsimSettings& settings_;
    bool allowHotkeys_;
};

}  // namespace qs::panelsim
