#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include <wx/bmpbuttn.h>
#include <wx/timer.h>

#include "emulators/displayui/CDisplayWnd.h"
#include "emulators/displayui/CScrollDialog.h"
#include "emulators/farview/FaceplateLayout.h"
#include "emulators/farview/KeyboardFilter.h"
#include "emulators/farview/core/FaceplateKeys.h"
#include "emulators/farview/core/FarviewSettings.h"
#include "emulators/farview/core/RemoteDisplaySession.h"
#include "platform/UiServices.h"

namespace qs::farview {

// Farview's faceplate: the device's LCD (the session's screen 0) and its 20 keys, driven by a
// 100 ms timer that reads the device's frames and repaints what changed. Its menu (the
// context menu of the faceplate, as the window manager owns the system menu) offers the
// communications setup, the frameless rounded window and the about box. Closing it ends the
// run: the timer stops, the device gets its line back (key 0xF8 when master), the link
// closes and a waiting Quillset is told.
class CRemoteDisplayDlg : public displayui::CScrollDialog {
public:
    enum : int { kCmdAbout = 16, kCmdCommSetup = 32, kCmdHideFrame = 48 };
    static constexpr int kTimerId = 1;
    static constexpr int kTickMs = 100;
    // A moved window's place is stored once it has stayed put this long.
    static constexpr int kPositionSettleMs = 500;
    static constexpr const char* kFrameMessage =
        "Press <Alt+Space> to access the System menu when frame is not visible (or <Alt-F4> to exit)";

    CRemoteDisplayDlg(RemoteDisplaySession& session, FarviewSettings& settings, const UiServices& ui,
                      const FaceplateLayout& layout = FaceplateLayout::Normal());
    ~CRemoteDisplayDlg() override;

    // One tick of the timer: a receive pass, and the LCDs repainted when the screens changed.
    void Tick();
    // What a key button does.
    void PressKey(int id);
    // The setup dialog's result: the link is opened again and the settings stored only when
    // the port or (on TCP/IP) the address changed.
    void ApplyCommSetup(int port, const std::string& address);
    void SetFrameHidden(bool hidden);
    // The end of the run (see above); runs once.
    void Finish();

    int DisplayCount() const { return static_cast<int>(displays_.size()); }
    displayui::CDisplayWnd* DisplayWindow(int index) const { return displays_.at(static_cast<size_t>(index)); }
    wxBitmapButton* KeyButton(int id) const;
    bool FrameHidden() const { return frameHidden_; }
    bool Ticking() const { return timer_.IsRunning(); }
    const FaceplateLayout& PlateLayout() const { return layout_; }
    RemoteDisplaySession& Session() { return session_; }

protected:
    void PaintFaceplate(wxDC& dc) override;
    void ShowFaceplateMenu(const wxPoint& screenPoint) override;

private:
    void OnTimer(wxTimerEvent& event);
    void OnKeyButton(wxCommandEvent& event);
    void OnMenu(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnMove(wxMoveEvent& event);
    void OnShow(wxShowEvent& event);
    void CommSetup();
    void About();
    void StorePosition();

    RemoteDisplaySession& session_;
    FarviewSettings& settings_;
    const UiServices& ui_;
    const FaceplateLayout& layout_;
    std::vector<displayui::CDisplayWnd*> displays_;
    std::array<wxBitmapButton*, FaceplateKeys::kCount> keys_{};
    std::unique_ptr<KeyboardFilter> keyboard_;
    wxTimer timer_;
    wxTimer positionTimer_;
    bool frameHidden_ = false;
    bool firstShow_ = true;
    bool ticking_ = false;
    bool finished_ = false;
    bool positionDirty_ = false;
};

}  // namespace qs::farview
