#include "emulators/farview/CRemoteDisplayDlg.h"

#include <algorithm>

#include <wx/menu.h>

#include "emulators/displayui/ScreenDump.h"
#include "emulators/displayui/WindowFrame.h"
#include "emulators/farview/CAboutDlg.h"
#include "emulators/farview/CCommSetupDlg.h"
#include "emulators/farview/FaceplateArt.h"
#include "emulators/farview/core/QuillsetNotice.h"

namespace qs::farview {
namespace {

constexpr const char* kDisplayTitles[] = {"Display Emulation", "Display 2 Emulation"};
constexpr int kPositionTimerId = 2;

}  // namespace

CRemoteDisplayDlg::CRemoteDisplayDlg(RemoteDisplaySession& session, FarviewSettings& settings, const UiServices& ui,
                                     const FaceplateLayout& layout)
    : CScrollDialog(layout.title, layout.templateSize),
      session_(session),
      settings_(settings),
      ui_(ui),
      layout_(layout),
      timer_(this, kTimerId),
      positionTimer_(this, kPositionTimerId) {
    session_.Open(settings_.Port(), settings_.Address());
    SetIcons(FaceplateArt::Icons());

    // Screen 0 draws into the first LCD; in the four-display layout screen 1 into the second.
    const size_t shown = std::min(layout_.displays.size(), static_cast<size_t>(session_.ScreenCount()));
    for (size_t i = 0; i < shown; ++i) {
        displays_.push_back(new displayui::CDisplayWnd(Faceplate(), kDisplayTitles[i], layout_.displays[i],
                                                       session_.Screen(static_cast<int>(i))));
    }
    for (const FaceplateKey& key : FaceplateKeys::All()) {
        const wxRect at = layout_.KeyRect(key.id);
        auto* button = new wxBitmapButton(Faceplate(), key.id, FaceplateArt::KeyFace(key, at.GetSize(), false),
                                          at.GetPosition(), at.GetSize(), wxBORDER_NONE);
        button->SetBitmapPressed(FaceplateArt::KeyFace(key, at.GetSize(), true));
        button->SetLabel(wxString::FromUTF8(key.caption));
        keys_[static_cast<size_t>(key.id - FaceplateKeys::kFirstId)] = button;
    }
    keyboard_ = std::make_unique<KeyboardFilter>(*this, [this](uint8_t code) { session_.SendKey(code); });

    frameHidden_ = settings_.CustomWindowRegion();
    int x = 0, y = 0;
    if (settings_.Position(x, y)) Move(x, y);

    Bind(wxEVT_TIMER, &CRemoteDisplayDlg::OnTimer, this, kTimerId);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { StorePosition(); }, kPositionTimerId);
    Bind(wxEVT_BUTTON, &CRemoteDisplayDlg::OnKeyButton, this, FaceplateKeys::kFirstId,
         FaceplateKeys::kFirstId + FaceplateKeys::kCount - 1);
    Bind(wxEVT_MENU, &CRemoteDisplayDlg::OnMenu, this, kCmdAbout, kCmdHideFrame);
    Bind(wxEVT_CLOSE_WINDOW, &CRemoteDisplayDlg::OnClose, this);
    Bind(wxEVT_MOVE, &CRemoteDisplayDlg::OnMove, this);
    Bind(wxEVT_SHOW, &CRemoteDisplayDlg::OnShow, this);
    timer_.Start(kTickMs);
}

CRemoteDisplayDlg::~CRemoteDisplayDlg() {
    Finish();
    keyboard_.reset();
}

wxBitmapButton* CRemoteDisplayDlg::KeyButton(int id) const {
    const auto index = static_cast<size_t>(id - FaceplateKeys::kFirstId);
    return index < keys_.size() ? keys_[index] : nullptr;
}

void CRemoteDisplayDlg::PaintFaceplate(wxDC& dc) { FaceplateArt::PaintPanel(dc, layout_); }

void CRemoteDisplayDlg::Tick() {
    // A message box shown from inside a pass runs the event loop: no second pass meanwhile.
    if (ticking_ || finished_) return;
    ticking_ = true;
    if (session_.Tick()) {
        for (displayui::CDisplayWnd* lcd : displays_) lcd->ShowFramebuffer();
    }
    ticking_ = false;
}

void CRemoteDisplayDlg::OnTimer(wxTimerEvent&) { Tick(); }

void CRemoteDisplayDlg::PressKey(int id) {
    if (const std::optional<uint8_t> code = FaceplateKeys::CodeOf(id)) session_.SendKey(*code);
}

void CRemoteDisplayDlg::OnKeyButton(wxCommandEvent& event) { PressKey(event.GetId()); }

void CRemoteDisplayDlg::ShowFaceplateMenu(const wxPoint& screenPoint) {
    wxMenu menu;
    menu.Append(kCmdCommSetup, "&Comm Setup...");
    menu.AppendCheckItem(kCmdHideFrame, "Hide Frame")->Check(frameHidden_);
    menu.AppendSeparator();
    menu.Append(kCmdAbout, "&About Farview...");
    PopupMenu(&menu, ScreenToClient(screenPoint));
}

void CRemoteDisplayDlg::OnMenu(wxCommandEvent& event) {
    switch (event.GetId()) {
    case kCmdCommSetup: CommSetup(); break;
    case kCmdHideFrame: SetFrameHidden(!frameHidden_); break;
    case kCmdAbout: About(); break;
    default: event.Skip(); break;
    }
}

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

void CRemoteDisplayDlg::About() {
    CAboutDlg about(this);
    about.ShowModal();
}

void CRemoteDisplayDlg::SetFrameHidden(bool hidden) {
    frameHidden_ = hidden;
    displayui::WindowFrame::SetHidden(*this, hidden, layout_.corner);
    if (hidden) ui_.Message(kFrameMessage);
    settings_.SetCustomWindowRegion(hidden);
}

void CRemoteDisplayDlg::OnShow(wxShowEvent& event) {
    event.Skip();
    if (!event.IsShown() || !firstShow_) return;
    firstShow_ = false;
    // The frame can be taken away only from a window the toolkit has made.
    if (frameHidden_) {
        CallAfter([this] {
            displayui::WindowFrame::SetHidden(*this, true, layout_.corner);
            ui_.Message(kFrameMessage);
        });
    }
}

void CRemoteDisplayDlg::OnMove(wxMoveEvent& event) {
    event.Skip();
    if (displays_.empty() || finished_) return;
    positionDirty_ = true;
    positionTimer_.StartOnce(kPositionSettleMs);
}

void CRemoteDisplayDlg::StorePosition() {
    if (!positionDirty_) return;
    positionDirty_ = false;
    const wxPoint at = GetPosition();
    settings_.SetPosition(at.x, at.y);
}

void CRemoteDisplayDlg::OnClose(wxCloseEvent&) {
    Finish();
    Destroy();
}

void CRemoteDisplayDlg::Finish() {
    if (finished_) return;
    finished_ = true;
    timer_.Stop();
    positionTimer_.Stop();
    StorePosition();
    session_.Shutdown();
    if (const std::string folder = displayui::ScreenDump::Folder(); !folder.empty()) {
        for (size_t i = 0; i < displays_.size(); ++i) {
            displayui::ScreenDump::Write(folder, static_cast<int>(i), session_.Screen(static_cast<int>(i)),
                                         displays_[i]->GetScreenPosition());
        }
    }
    QuillsetNotice::Post(ControlMessage::kRemoteDisplayDone);
}

}  // namespace qs::farview
