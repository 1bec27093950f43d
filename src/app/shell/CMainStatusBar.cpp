#include "app/shell/CMainStatusBar.h"

#include <wx/dc.h>
#include <wx/dcclient.h>
#include <wx/utils.h>

namespace qs {

wxColour FromColorRef(uint32_t colorRef) {
    return wxColour(static_cast<unsigned char>(colorRef & 0xFF), static_cast<unsigned char>((colorRef >> 8) & 0xFF),
                    static_cast<unsigned char>((colorRef >> 16) & 0xFF));
}

CMainStatusBar::CMainStatusBar(wxWindow* parent, wxWindowID id) : wxStatusBar(parent, id, wxSTB_DEFAULT_STYLE) {
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    const int pad = 2 * dc.GetCharWidth();
    const int widths[kPaneCount] = {-1, dc.GetTextExtent(kStateSizeText).x + pad, dc.GetTextExtent(kLinkSizeText).x + pad,
                                    dc.GetTextExtent("CAP").x + pad, dc.GetTextExtent("NUM").x + pad};
    SetFieldsCount(kPaneCount, widths);
    const int styles[kPaneCount] = {wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN};
    SetStatusStyles(kPaneCount, styles);
    SetStatusText(kReadyText, kMessagePane);
    SetStatusText(kIdleText, kStatePane);
    SetStatusText(kIdleText, kLinkPane);
    UpdateKeyIndicators();
}

void CMainStatusBar::SetStatePane(const wxString& text, const wxColour& colour) {
    const bool recolour = colour != stateColour_;
    stateColour_ = colour;
    if (GetStatusText(kStatePane) != text) SetStatusText(text, kStatePane);
    else if (recolour) Refresh();
}

void CMainStatusBar::UpdateKeyIndicators() {
    const wxString caps = wxGetKeyState(WXK_CAPITAL) ? "CAP" : "";
    const wxString num = wxGetKeyState(WXK_NUMLOCK) ? "NUM" : "";
    if (GetStatusText(kCapsPane) != caps) SetStatusText(caps, kCapsPane);
    if (GetStatusText(kNumPane) != num) SetStatusText(num, kNumPane);
}

void CMainStatusBar::DrawFieldText(wxDC& dc, const wxRect& rect, int pane, int textHeight) {
    if (pane != kStatePane || !stateColour_.IsOk()) {
        wxStatusBar::DrawFieldText(dc, rect, pane, textHeight);
        return;
    }
    const wxColour saved = dc.GetTextForeground();
    dc.SetTextForeground(stateColour_);
    wxStatusBar::DrawFieldText(dc, rect, pane, textHeight);
    dc.SetTextForeground(saved);
}

}  // namespace qs
