#include "app/sidedocs/equations/CEquationOptionsDlg.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/shell/ContextHelp.h"

namespace qs {

CEquationOptionsDlg::CEquationOptionsDlg(wxWindow* parent, const std::string& name, bool disableAll)
    : StandardDialog(parent, wxID_ANY, "Equation Set Options"), name_(name), disableAll_(disableAll) {
    ContextHelp::SetId(this, kHelpId);
    const int gap = Gap();
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, "Equation Set Name:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    nameField_ = new wxTextCtrl(this, kNameId, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(260), -1));
    row->Add(nameField_, 1, wxEXPAND);
    disableBox_ = new wxCheckBox(this, kDisableId, "Disable all initially at download");
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(row, 0, wxEXPAND | wxALL, Margin());
    top->Add(disableBox_, 0, wxLEFT | wxRIGHT | wxBOTTOM, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);
}

bool CEquationOptionsDlg::TransferDataToWindow() {
    nameField_->SetMaxLength(kMaxNameLength);
    nameField_->ChangeValue(wxString::FromUTF8(name_.substr(0, kMaxNameLength)));
    disableBox_->SetValue(disableAll_);
    return wxDialog::TransferDataToWindow();
}

bool CEquationOptionsDlg::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    std::string name = nameField_->GetValue().utf8_string();
    if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
    name_ = std::move(name);
    disableAll_ = disableBox_->GetValue();
    return true;
}

}  // namespace qs
