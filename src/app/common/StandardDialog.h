#pragma once
#include <wx/dialog.h>

class wxSizer;

namespace qs {

// What the program's dialogs share in their layout: the spacing of their controls, the row of
// standard buttons under their content, and the end of the layout - the window sized to its
// content and centred on its owner (on the screen when it has none).
class StandardDialog : public wxDialog {
protected:
    StandardDialog(wxWindow* parent, wxWindowID id, const wxString& title, long style = wxDEFAULT_DIALOG_STYLE);
    // For a dialog that is created later (wxDialog::Create), once its style is known.
    StandardDialog() = default;

    // Between two controls, and around the content, for this window's resolution.
    int Gap() const { return FromDIP(8); }
    int Margin() const { return Gap() * 3 / 2; }

    // The standard buttons (wxOK, wxCANCEL, wxHELP...) as the last row of `top`, within the
    // content's side and bottom margins.
    void AddButtonRow(wxSizer* top, long buttons);
    // The same buttons in the bottom right corner, a gap from every edge.
    void AddCornerButtons(wxSizer* top, long buttons);
    // `top` becomes the window's sizer; the window fits it and is centred.
    void FinishLayout(wxSizer* top);
};

}  // namespace qs
