#include "app/common/CPasswordDialog.h"

#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace qs {

CPasswordDialog::CPasswordDialog(wxWindow* parent) : StandardDialog(parent, wxID_ANY, "Enter Access Code") {
    const int gap = Gap();
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* text = new wxStaticText(this, wxID_ANY,
                                  "You must log in with the access code for the highest security level "
                                  "configured to perfom this function.");
    text->Wrap(FromDIP(340));
    top->Add(text, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, Margin());

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, "Access Code:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    code_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_PASSWORD);
    code_->SetMaxLength(kMaxCodeLength);
    row->Add(code_, 1, wxEXPAND);
    top->Add(row, 0, wxEXPAND | wxALL, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);
    code_->SetFocus();
}

bool CPasswordDialog::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    accessCode = code_->GetValue().utf8_string();
    return true;
}

}  // namespace qs
