#include "emulators/displayui/CScrollDialog.h"

#include <wx/dcclient.h>
#include <wx/sizer.h>

#include <algorithm>

namespace qs::displayui {

// The scrolled area: paints the faceplate and scrolls the children with it.
class CScrollDialog::Canvas : public wxScrolledCanvas {
public:
    Canvas(CScrollDialog* owner, const wxSize& templateSize) : owner_(owner) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        Create(owner, wxID_ANY, wxDefaultPosition, templateSize, wxHSCROLL | wxVSCROLL | wxBORDER_NONE);
        SetScrollRate(kUnitX, kUnitY);
        SetVirtualSize(templateSize);
        Bind(wxEVT_LEFT_DOWN, &CScrollDialog::OnLeftDown, owner);
        Bind(wxEVT_MOTION, &CScrollDialog::OnMotion, owner);
        Bind(wxEVT_LEFT_UP, &CScrollDialog::OnLeftUp, owner);
        Bind(wxEVT_MOUSE_CAPTURE_LOST, [owner](wxMouseCaptureLostEvent&) { owner->dragging_ = false; });
        Bind(wxEVT_SIZE, &Canvas::OnSize, this);
    }

    // The window's size as if it had no scroll bars, up to the template's.
    wxSize Unbarred() const {
        const wxSize size = GetSize();
        return {std::min(size.x, owner_->template_.x), std::min(size.y, owner_->template_.y)};
    }

    void OnDraw(wxDC& dc) override {
        // Beyond the template (a window made larger than it) stays the window's colour.
        dc.SetBackground(wxBrush(GetBackgroundColour()));
        dc.Clear();
        owner_->PaintFaceplate(dc);
    }

private:
    // A bar only in the direction the window is smaller than the template: a bar of one
    // direction must not bring the other's along by the room it takes.
    void OnSize(wxSizeEvent& event) {
        event.Skip();
        if (adjusting_) return;
        adjusting_ = true;
        const wxSize room = Unbarred();
        ShowScrollbars(room.x < owner_->template_.x ? wxSHOW_SB_ALWAYS : wxSHOW_SB_NEVER,
                       room.y < owner_->template_.y ? wxSHOW_SB_ALWAYS : wxSHOW_SB_NEVER);
        adjusting_ = false;
    }

    CScrollDialog* owner_;
    bool adjusting_ = false;
};

CScrollDialog::CScrollDialog(const wxString& title, const wxSize& templateSize)
    : wxDialog(nullptr, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxRESIZE_BORDER | wxMINIMIZE_BOX | wxMAXIMIZE_BOX | wxCLOSE_BOX | wxFRAME_SHAPED),
      template_(templateSize) {
    canvas_ = new Canvas(this, templateSize);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(canvas_, 1, wxEXPAND);
    SetSizer(sizer);
    SetClientSize(templateSize);
    // No larger than the template, no smaller than half of it.
    SetMaxClientSize(templateSize);
    SetMinClientSize(templateSize / 2);
    canvas_->Scroll(0, 0);
    Bind(wxEVT_CONTEXT_MENU, &CScrollDialog::OnContextMenu, this);
    Bind(wxEVT_CHAR_HOOK, &CScrollDialog::OnCharHook, this);
}

void CScrollDialog::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) return;
    event.Skip();
}

wxWindow* CScrollDialog::Faceplate() const { return canvas_; }

int CScrollDialog::RangeX() const { return (template_.x - canvas_->Unbarred().x + kUnitX - 1) / kUnitX; }

int CScrollDialog::RangeY() const { return (template_.y - canvas_->Unbarred().y + kUnitY - 1) / kUnitY; }

wxPoint CScrollDialog::ScrollPosition() const { return canvas_->GetViewStart(); }

void CScrollDialog::ScrollTo(int unitsX, int unitsY) { canvas_->Scroll(unitsX, unitsY); }

void CScrollDialog::OnLeftDown(wxMouseEvent& event) {
    // The faceplate answers a press as a caption would: the window follows the pointer.
    grab_ = canvas_->ClientToScreen(event.GetPosition()) - GetPosition();
    dragging_ = true;
    if (!canvas_->HasCapture()) canvas_->CaptureMouse();
}

void CScrollDialog::OnMotion(wxMouseEvent& event) {
    if (!dragging_ || !event.LeftIsDown()) return;
    Move(canvas_->ClientToScreen(event.GetPosition()) - grab_);
}

void CScrollDialog::OnLeftUp(wxMouseEvent&) { EndDrag(); }

void CScrollDialog::EndDrag() {
    dragging_ = false;
    if (canvas_->HasCapture()) canvas_->ReleaseMouse();
}

void CScrollDialog::OnContextMenu(wxContextMenuEvent& event) {
    wxPoint at = event.GetPosition();
    // From the keyboard there is no pointer position: the menu opens at the window's corner.
    if (at == wxDefaultPosition) at = canvas_->ClientToScreen(wxPoint(0, 0));
    ShowFaceplateMenu(at);
}

}  // namespace qs::displayui
