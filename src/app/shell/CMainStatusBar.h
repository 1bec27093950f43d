#pragma once
#include <cstdint>

#include <wx/statusbr.h>

namespace qs {

// A COLORREF value (0x00BBGGRR) to a colour; the top byte is not part of the colour and is
// ignored.
wxColour FromColorRef(uint32_t colorRef);

// The main frame's five panes: messages, the connection state of the active program-data
// document (in that state's own text colour, drawn here since GTK status bars have one text
// colour for all panes), the link description, Caps Lock and Num Lock.
class CMainStatusBar : public wxStatusBar {
public:
    enum Pane : int { kMessagePane = 0, kStatePane = 1, kLinkPane = 2, kCapsPane = 3, kNumPane = 4, kPaneCount = 5 };
    // What the two document panes are sized by.
    static constexpr const char* kStateSizeText = "Line:   0   Column:   0";
    static constexpr const char* kLinkSizeText = "TCP/IP: 192.168.174.070 : 07734";
    static constexpr const char* kIdleText = "   ";
    static constexpr const char* kReadyText = "Ready";

    explicit CMainStatusBar(wxWindow* parent, wxWindowID id = wxID_ANY);

    // The state pane's text and colour (wxNullColour: the pane's default text colour).
    void SetStatePane(const wxString& text, const wxColour& colour);
    wxColour StatePaneColour() const { return stateColour_; }

    // Shows "CAP" and "NUM" while those locks are on.
    void UpdateKeyIndicators();

protected:
    void DrawFieldText(wxDC& dc, const wxRect& rect, int pane, int textHeight) override;

private:
    wxColour stateColour_;
};

}  // namespace qs
