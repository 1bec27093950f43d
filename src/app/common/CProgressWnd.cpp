#include "app/common/CProgressWnd.h"

#include <algorithm>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/gauge.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "app/common/WxText.h"

namespace qs {

namespace {

// Live windows, newest last.
std::vector<CProgressWnd*>& LiveWindows() {
    static std::vector<CProgressWnd*> windows;
    return windows;
}

// A transfer pumps after every byte; dispatching that often would cost more than the
// transfer itself. Between dispatches input simply waits in the queue this long at most.
constexpr auto kPumpInterval = std::chrono::milliseconds(15);

// The waits of the completion loop: short enough to notice Cancel at once, long enough not
// to spin.
constexpr int kCloseWaitMs = 50;

wxWindow* OwnerFor(wxWindow* parent) {
    if (parent) return parent;
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

int EdgeMetric(wxSystemMetric which, const wxWindow* win) {
    const int v = wxSystemSettings::GetMetric(which, win);
    return v > 0 ? v : 2;
}

}  // namespace

CProgressWnd::CProgressWnd(wxWindow* parent, const std::string& title, bool smooth)
    : StandardDialog(OwnerFor(parent), wxID_ANY, wxString(), wxCAPTION),
      model_(title) {
    SetTitle(ToWx(model_.Caption()));
    SetEscapeId(wxID_NONE);  // Esc is ours: it cancels only when the pump asks for it
    SetCursor(wxCursor(wxCURSOR_ARROWWAIT));

    text_ = new wxStaticText(this, ID_STATUS_TEXT, wxString(), wxDefaultPosition, wxDefaultSize,
                             wxALIGN_LEFT | wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    bar_ = new wxGauge(this, ID_BAR, model_.BarRange(), wxDefaultPosition, wxDefaultSize,
                       wxGA_HORIZONTAL | (smooth ? wxGA_SMOOTH : 0));
    button_ = new wxButton(this, ID_CANCEL_BUTTON, " Cancel ");

    // Status area: 390 wide (at 96 dpi), tall enough for four lines of the window's font.
    const int cxEdge = EdgeMetric(wxSYS_EDGE_X, this);
    const int cyEdge = EdgeMetric(wxSYS_EDGE_Y, this);
    wxCoord linesW = 0, linesH = 0;
    {
        wxClientDC dc(text_);
        dc.SetFont(text_->GetFont());
        dc.GetMultiLineTextExtent("M\nM\nM\nM", &linesW, &linesH);
    }
    const wxSize statusSize(FromDIP(390), std::max(linesH, kTextLines * text_->GetCharHeight()));
    text_->SetMinSize(statusSize);
    text_->SetSize(statusSize);

    // Cancel button: the label plus edges, or what the toolkit needs to show it unclipped.
    wxCoord labelW = 0, labelH = 0;
    button_->GetTextExtent(" Cancel ", &labelW, &labelH);
    const wxSize best = button_->GetBestSize();
    const wxSize buttonSize(std::max(best.x, labelW + 4 * cxEdge), std::max(best.y, labelH + 3 * cyEdge));
    button_->SetMinSize(buttonSize);

    // Bar: from the status area's left edge to 10 left of the button, an edge inside the
    // button's height; its place is kept while it is hidden.
    bar_->SetMinSize(wxSize(-1, std::max(buttonSize.y - 2 * cyEdge, 4)));
    bar_->Hide();

    const int gap = FromDIP(10);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(bar_, wxSizerFlags(1).CenterVertical().ReserveSpaceEvenIfHidden());
    row->AddSpacer(gap);
    row->Add(button_, wxSizerFlags(0).CenterVertical());

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(text_, wxSizerFlags(0).Border(wxLEFT | wxRIGHT | wxTOP, gap));
    top->AddSpacer(gap);
    top->Add(row, wxSizerFlags(0).Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM, gap));
    FinishLayout(top);

    Bind(wxEVT_BUTTON, &CProgressWnd::OnCancel, this, ID_CANCEL_BUTTON);
    Bind(wxEVT_CLOSE_WINDOW, &CProgressWnd::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &CProgressWnd::OnCharHook, this);

    LiveWindows().push_back(this);
    ShowWithoutActivating();
}

CProgressWnd::~CProgressWnd() {
    disabler_.reset();  // the other windows come back before this one goes
    auto& live = LiveWindows();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

CProgressWnd* CProgressWnd::Current() {
    const auto& live = LiveWindows();
    return live.empty() ? nullptr : live.back();
}

void CProgressWnd::SetRange(int lower, int upper, int step) {
    model_.SetRange(lower, upper, step);
    bar_->SetRange(model_.BarRange());
    bar_->SetValue(model_.BarValue());
    bar_->Show(model_.BarVisible());
}

void CProgressWnd::SetText(const std::string& text) {
    const std::string before = model_.Text();
    const std::string& shown = model_.SetText(text);
    if (shown != before) text_->SetLabelText(ToWx(shown));
}

void CProgressWnd::ApplyMove(const ProgressModel::Move& move) {
    if (move.captionChanged) SetTitle(ToWx(model_.Caption()));
    const int value = model_.BarValue();
    if (value != bar_->GetValue()) bar_->SetValue(value);
}

int CProgressWnd::SetPos(int pos) {
    const auto move = model_.SetPos(pos);
    ApplyMove(move);
    return move.previous;
}

int CProgressWnd::OffsetPos(int n) {
    const auto move = model_.OffsetPos(n);
    ApplyMove(move);
    return move.previous;
}

int CProgressWnd::StepIt() {
    const auto move = model_.StepIt();
    ApplyMove(move);
    return move.previous;
}

bool CProgressWnd::PeekAndPump(bool cancelOnEsc, bool modal) {
    if (model_.Cancelled()) return false;
    lastCancelOnEsc_ = cancelOnEsc;
    lastModal_ = modal;
    const auto now = std::chrono::steady_clock::now();
    if (pumped_ && now - lastPump_ < kPumpInterval) return true;
    pumped_ = true;
    Dispatch(modal, cancelOnEsc);
    lastPump_ = std::chrono::steady_clock::now();
    return !model_.Cancelled();
}

void CProgressWnd::PumpForIdle() {
    if (model_.Cancelled()) return;
    Dispatch(lastModal_, lastCancelOnEsc_);
}

void CProgressWnd::Dispatch(bool modal, bool cancelOnEsc) {
    if (modal) {
        // Input to the other windows of the program is dropped while they are disabled.
        if (!disabler_) disabler_ = std::make_unique<wxWindowDisabler>(this);
        if (!raised_) {
            raised_ = true;
            Raise();
            button_->SetFocus();
        }
    } else {
        disabler_.reset();
    }
    escCancels_ = cancelOnEsc;
    ModalPump::Yield(modal ? (wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT) : wxEVT_CATEGORY_ALL);
    if (modal) RunOwnQueuedEvents();
    escCancels_ = false;
    if (modal && IsActive() && !cancelWithdrawn_ && wxWindow::FindFocus() != button_) button_->SetFocus();
}

void CProgressWnd::RunOwnQueuedEvents() {
    // A modal yield leaves the program's queued events for later; those queued for this
    // window (CallAfter, posted commands) are its own and run now. Only as many as were
    // queued on entry, so a handler that queues again cannot hold the pump.
    std::size_t n = m_pendingEvents ? m_pendingEvents->GetCount() : 0;
    while (n-- > 0 && m_pendingEvents && !m_pendingEvents->IsEmpty()) ProcessPendingEvents();
}

void CProgressWnd::WaitForClose() {
    SetText("Transfer Complete!");
    button_->SetLabel("&Close");
    wxBell();
    button_->SetDefault();
    // The caller's busy cursor would tell the user to wait: lift it while we do, and give it
    // back as we found it.
    int lifted = 0;
    while (wxIsBusy()) {
        wxEndBusyCursor();
        ++lifted;
    }
    while (!model_.Cancelled()) {
        pumped_ = false;
        if (!PeekAndPump(true, true)) break;
        escCancels_ = true;
        ModalPump::WaitForEvent(kCloseWaitMs);
        escCancels_ = false;
    }
    for (; lifted > 0; --lifted) wxBeginBusyCursor();
}

void CProgressWnd::WithdrawCancel() {
    cancelWithdrawn_ = true;
    button_->Disable();
}

void CProgressWnd::OnCancel(wxCommandEvent&) {
    if (!cancelWithdrawn_) model_.Cancel();
}

void CProgressWnd::OnClose(wxCloseEvent& event) {
    // The window manager's close counts as Cancel; the window stays until its transfer ends.
    if (!cancelWithdrawn_) model_.Cancel();
    if (event.CanVeto()) event.Veto();
}

void CProgressWnd::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
        if (escCancels_ && !cancelWithdrawn_) model_.Cancel();
        return;
    }
    event.Skip();
}

}  // namespace qs
