#include "emulators/displayui/CDisplayWnd.h"

#include <wx/dcclient.h>

namespace qs::displayui {

CDisplayWnd::CDisplayWnd(wxWindow* parent, const wxString& title, const wxPoint& position,
                         const display::Framebuffer& source)
    : source_(source), image_(display::Framebuffer::kWidth, display::Framebuffer::kHeight, false) {
    // The background is never erased: every paint covers the whole window.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Create(parent, wxID_ANY, position, wxSize(kShownWidth, kShownHeight), wxBORDER_NONE, title);
    SetLabel(title);
    SetMinSize(wxSize(kShownWidth, kShownHeight));
    SetMaxSize(wxSize(kShownWidth, kShownHeight));
    TakeFramebuffer();
    Bind(wxEVT_PAINT, &CDisplayWnd::OnPaint, this);
}

void CDisplayWnd::TakeFramebuffer() {
    unsigned char* rgb = image_.GetData();
    for (const uint8_t index : source_.Pixels()) {
        const auto& colour = kPalette[index & 3u];
        *rgb++ = colour[0];
        *rgb++ = colour[1];
        *rgb++ = colour[2];
    }
    bitmap_ = wxBitmap(image_);
}

void CDisplayWnd::ShowFramebuffer() {
    TakeFramebuffer();
    Refresh(false);
}

void CDisplayWnd::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.DrawBitmap(bitmap_, 0, 0, false);
}

}  // namespace qs::displayui
