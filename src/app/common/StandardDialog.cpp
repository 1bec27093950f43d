#include "app/common/StandardDialog.h"

#include <wx/sizer.h>

namespace qs {

StandardDialog::StandardDialog(wxWindow* parent, wxWindowID id, const wxString& title, long style)
    : wxDialog(parent, id, title, wxDefaultPosition, wxDefaultSize, style) {}

void StandardDialog::AddButtonRow(wxSizer* top, long buttons) {
    top->Add(CreateStdDialogButtonSizer(buttons), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, Margin());
}

void StandardDialog::AddCornerButtons(wxSizer* top, long buttons) {
    top->Add(CreateStdDialogButtonSizer(buttons), 0, wxALIGN_RIGHT | wxALL, Gap());
}

void StandardDialog::FinishLayout(wxSizer* top) {
    SetSizerAndFit(top);
    if (GetParent()) CentreOnParent();
    else CentreOnScreen();
}

}  // namespace qs
