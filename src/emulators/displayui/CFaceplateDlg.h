#pragma once
#include <array>
#include <memory>
#include <vector>

#include <wx/bmpbuttn.h>
#include <wx/timer.h>

#include "emulators/display/EmulatorSettings.h"
#include "emulators/display/FaceplateKeys.h"
#include "emulators/display/Framebuffer.h"
#include "emulators/displayui/CDisplayWnd.h"
#include "emulators/displayui/CScrollDialog.h"
#include "emulators/displayui/FaceplateLayout.h"
#include "emulators/displayui/KeyboardFilter.h"
#include "platform/ControlSocket.h"
#include "platform/UiServices.h"

namespace qs::displayui {

// An emulator's faceplate: its LCDs (one per screen it is given) and the device's 20 keys,
// driven by a 100 ms timer. Its menu (the context menu of the faceplate, as the window manager
// owns the system menu) offers the communications setup, the frameless rounded window and the
// about box. Closing it ends the run: the timer stops, the program's session ends, and a
// waiting Quillset is told. A program derives from it for what goes to its device; the derived
// destructor calls Finish(), as the session is the derived class's.
class CFaceplateDlg : public CScrollDialog {
public:
    enum : int { kCmdAbout = 16, kCmdCommSetup = 32, kCmdHideFrame = 48 };
    static constexpr int kTimerId = 1;
    static constexpr int kTickMs = 100;
    // A moved window's place is stored once it has stayed put this long.
    static constexpr int kPositionSettleMs = 500;
    static constexpr const char* kFrameMessage =
        "Press <Alt+Space> to access the System menu when frame is not visible (or <Alt-F4> to exit)";

    struct Program {
        wxString name;         // "Farview", "Panelsim": the about box and its menu item
        ControlMessage done;   // what Quillset is told at the end
        bool f2Mapped = true;  // whether the PC's F2 stands for the device's F2
    };

    // `screens`: the framebuffers the LCDs show, in order; each must outlive the window.
    CFaceplateDlg(const FaceplateLayout& layout, const std::vector<const display::Framebuffer*>& screens,
                  display::EmulatorSettings& settings, const UiServices& ui, Program program);
    ~CFaceplateDlg() override;

    // One tick of the timer: the program's tick, and the LCDs repainted when the screens changed.
    void Tick();
    // What a key button does.
    void PressKey(int id);
    void SetFrameHidden(bool hidden);
    // The end of the run (see above); runs once.
    void Finish();

    int DisplayCount() const { return static_cast<int>(displays_.size()); }
    CDisplayWnd* DisplayWindow(int index) const { return displays_.at(static_cast<size_t>(index)); }
    wxBitmapButton* KeyButton(int id) const;
    bool FrameHidden() const { return frameHidden_; }
    bool Ticking() const { return timer_.IsRunning(); }
    const FaceplateLayout& PlateLayout() const { return layout_; }

protected:
    // A receive pass and whatever else a tick does; true when the screens were redrawn.
    virtual bool TickSession() = 0;
    virtual void KeyButtonPressed(uint8_t code) = 0;
    // A mapped PC key was released.
    virtual void PcKeyReleased(uint8_t code) = 0;
    virtual void CommSetup() = 0;
    // The device gets its line back; the link closes.
    virtual void EndSession() = 0;

    void PaintFaceplate(wxDC& dc) override;
    void ShowFaceplateMenu(const wxPoint& screenPoint) override;
    const UiServices& Ui() const { return ui_; }

private:
    void OnTimer(wxTimerEvent& event);
    void OnKeyButton(wxCommandEvent& event);
    void OnMenu(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnMove(wxMoveEvent& event);
    void OnShow(wxShowEvent& event);
    void About();
    void StorePosition();

    display::EmulatorSettings& settings_;
    const UiServices& ui_;
    const FaceplateLayout& layout_;
    Program program_;
    std::vector<const display::Framebuffer*> screens_;
    std::vector<CDisplayWnd*> displays_;
    std::array<wxBitmapButton*, display::FaceplateKeys::kCount> keys_{};
    std::unique_ptr<KeyboardFilter> keyboard_;
    wxTimer timer_;
    wxTimer positionTimer_;
    bool frameHidden_ = false;
    bool firstShow_ = true;
    bool ticking_ = false;
    bool finished_ = false;
    bool positionDirty_ = false;
};

}  // namespace qs::displayui
