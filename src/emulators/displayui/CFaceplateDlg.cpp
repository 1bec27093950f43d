#include "emulators/displayui/CFaceplateDlg.h"

#include <algorithm>

#include <wx/menu.h>

#include "emulators/display/QuillsetNotice.h"
#include "emulators/displayui/CAboutDlg.h"
#include "emulators/displayui/FaceplateArt.h"
#include "emulators/displayui/ScreenDump.h"
#include "emulators/displayui/WindowFrame.h"

namespace qs::displayui {
namespace {

constexpr const char* kDisplayTitles[] = {"Display Emulation", "Display 2 Emulation"};
constexpr int kPositionTimerId = 2;

}  // namespace

CFaceplateDlg::CFaceplateDlg(const FaceplateLayout& layout, const std::vector<const display::Framebuffer*>& screens,
                             display::EmulatorSettings& settings, const UiServices& ui, Program program)
    : CScrollDialog(layout.title, layout.templateSize),
      settings_(settings),
      ui_(ui),
      layout_(layout),
      program_(std::move(program)),
      timer_(this, kTimerId),
      positionTimer_(this, kPositionTimerId) {
    SetIcons(FaceplateArt::Icons());
    const size_t shown = std::min({layout_.displays.size(), screens.size(), std::size(kDisplayTitles)});
    for (size_t i = 0; i < shown; ++i) {
        screens_.push_back(screens[i]);
        displays_.push_back(new CDisplayWnd(Faceplate(), kDisplayTitles[i], layout_.displays[i], *screens[i]));
    }
    for (const FaceplateKey& key : display::FaceplateKeys::All()) {
        const wxRect at = layout_.KeyRect(key.id);
        auto* button = new wxBitmapButton(Faceplate(), key.id, FaceplateArt::KeyFace(key, at.GetSize(), false),
                                          at.GetPosition(), at.GetSize(), wxBORDER_NONE);
        button->SetBitmapPressed(FaceplateArt::KeyFace(key, at.GetSize(), true));
        button->SetLabel(wxString::FromUTF8(key.caption));
        keys_[static_cast<size_t>(key.id - display::FaceplateKeys::kFirstId)] = button;
    }
    keyboard_ = std::make_unique<KeyboardFilter>(*this, [this](uint8_t code) { PcKeyReleased(code); },
                                                 program_.f2Mapped);

    frameHidden_ = settings_.CustomWindowRegion();
    int x = 0, y = 0;
    if (settings_.Position(x, y)) Move(x, y);

    Bind(wxEVT_TIMER, &CFaceplateDlg::OnTimer, this, kTimerId);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { StorePosition(); }, kPositionTimerId);
    Bind(wxEVT_BUTTON, &CFaceplateDlg::OnKeyButton, this, display::FaceplateKeys::kFirstId,
         display::FaceplateKeys::kFirstId + display::FaceplateKeys::kCount - 1);
    Bind(wxEVT_MENU, &CFaceplateDlg::OnMenu, this, kCmdAbout, kCmdHideFrame);
    Bind(wxEVT_CLOSE_WINDOW, &CFaceplateDlg::OnClose, this);
    Bind(wxEVT_MOVE, &CFaceplateDlg::OnMove, this);
    Bind(wxEVT_SHOW, &CFaceplateDlg::OnShow, this);
    timer_.Start(kTickMs);
}

CFaceplateDlg::~CFaceplateDlg() {
    timer_.Stop();
    positionTimer_.Stop();
    keyboard_.reset();
}

wxBitmapButton* CFaceplateDlg::KeyButton(int id) const {
    const auto index = static_cast<size_t>(id - display::FaceplateKeys::kFirstId);
    return index < keys_.size() ? keys_[index] : nullptr;
}

void CFaceplateDlg::PaintFaceplate(wxDC& dc) { FaceplateArt::PaintPanel(dc, layout_); }

void CFaceplateDlg::Tick() {
    // A message box shown from inside a pass runs the event loop: no second pass meanwhile.
    if (ticking_ || finished_) return;
    ticking_ = true;
    if (TickSession()) {
        for (CDisplayWnd* lcd : displays_) lcd->ShowFramebuffer();
    }
    ticking_ = false;
}

void CFaceplateDlg::OnTimer(wxTimerEvent&) { Tick(); }

void CFaceplateDlg::PressKey(int id) {
    if (finished_) return;
    if (const std::optional<uint8_t> code = display::FaceplateKeys::CodeOf(id)) KeyButtonPressed(*code);
}

void CFaceplateDlg::OnKeyButton(wxCommandEvent& event) { PressKey(event.GetId()); }

void CFaceplateDlg::ShowFaceplateMenu(const wxPoint& screenPoint) {
    wxMenu menu;
    menu.Append(kCmdCommSetup, "&Comm Setup...");
    menu.AppendCheckItem(kCmdHideFrame, "Hide Frame")->Check(frameHidden_);
    menu.AppendSeparator();
    menu.Append(kCmdAbout, "&About " + program_.name + "...");
    PopupMenu(&menu, ScreenToClient(screenPoint));
}

void CFaceplateDlg::OnMenu(wxCommandEvent& event) {
    switch (event.GetId()) {
    case kCmdCommSetup: CommSetup(); break;
    case kCmdHideFrame: SetFrameHidden(!frameHidden_); break;
    case kCmdAbout: About(); break;
    default: event.Skip(); break;
    }
}

void CFaceplateDlg::About() {
    CAboutDlg about(this, program_.name);
    about.ShowModal();
}

void CFaceplateDlg::SetFrameHidden(bool hidden) {
    frameHidden_ = hidden;
    WindowFrame::SetHidden(*this, hidden, layout_.corner);
    if (hidden) ui_.Message(kFrameMessage);
    settings_.SetCustomWindowRegion(hidden);
}

void CFaceplateDlg::OnShow(wxShowEvent& event) {
    event.Skip();
    if (!event.IsShown() || !firstShow_) return;
    firstShow_ = false;
    // The frame can be taken away only from a window the toolkit has made.
    if (frameHidden_) {
        CallAfter([this] {
            WindowFrame::SetHidden(*this, true, layout_.corner);
            ui_.Message(kFrameMessage);
        });
    }
}

void CFaceplateDlg::OnMove(wxMoveEvent& event) {
    event.Skip();
    if (displays_.empty() || finished_) return;
    positionDirty_ = true;
    positionTimer_.StartOnce(kPositionSettleMs);
}

void CFaceplateDlg::StorePosition() {
    if (!positionDirty_) return;
    positionDirty_ = false;
    const wxPoint at = GetPosition();
    settings_.SetPosition(at.x, at.y);
}

void CFaceplateDlg::OnClose(wxCloseEvent&) {
    Finish();
    Destroy();
}

void CFaceplateDlg::Finish() {
    if (finished_) return;
    finished_ = true;
    timer_.Stop();
    positionTimer_.Stop();
    StorePosition();
    EndSession();
    if (const std::string folder = ScreenDump::Folder(); !folder.empty()) {
        for (size_t i = 0; i < displays_.size(); ++i) {
            ScreenDump::Write(folder, static_cast<int>(i), *screens_[i], displays_[i]->GetScreenPosition());
        }
    }
    display::QuillsetNotice::Post(program_.done);
}

}  // namespace qs::displayui
