#include "emulators/farview/CCommSetupDlg.h"

#include <arpa/inet.h>

#include <algorithm>

#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace qs::farview {
namespace {

constexpr int kTemplateId = 131;
constexpr int kMinWidth = 340;
constexpr const char* kLabels[CCommSetupDlg::kChoices] = {"TCP/IP (Port 7744)", "Com1", "Com2", "Com3", "Com4"};

bool IsIpv4(const std::string& text) {
    in_addr parsed{};
    return ::inet_pton(AF_INET, text.c_str(), &parsed) == 1;
}

}  // namespace

CCommSetupDlg::CCommSetupDlg(wxWindow* parent, int port, const std::string& address)
    : wxDialog(parent, kTemplateId, "Communications Port Setup"), port_(port), address_(address) {
    auto* ports = new wxStaticBoxSizer(wxVERTICAL, this, "Port");
    for (int i = 0; i < kChoices; ++i) {
        choices_[static_cast<size_t>(i)] =
            new wxRadioButton(ports->GetStaticBox(), wxID_ANY, kLabels[i], wxDefaultPosition, wxDefaultSize, i == 0 ? wxRB_GROUP : 0);
        ports->Add(choices_[static_cast<size_t>(i)], 0, wxALL, 4);
    }
    // A group of radio buttons always has one chosen; for a port none of them names, that one
    // is this hidden button, so OK without a choice keeps the port.
    kept_ = new wxRadioButton(ports->GetStaticBox(), wxID_ANY, "");
    kept_->Hide();
    if (Choice(port)) Choice(port)->SetValue(true);
    else kept_->SetValue(true);

    auto* addressRow = new wxBoxSizer(wxHORIZONTAL);
    addressRow->Add(new wxStaticText(this, wxID_ANY, "IP Address"), 0, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 8);
    addressField_ = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(address), wxDefaultPosition, wxSize(160, -1));
    addressField_->SetMaxLength(15);
    addressRow->Add(addressField_, 1, wxEXPAND);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(ports, 0, wxEXPAND | wxALL, 10);
    top->Add(addressRow, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);
    // Wide enough for its whole title.
    SetClientSize(std::max(GetClientSize().x, kMinWidth), GetClientSize().y);
    CentreOnParent();
}

bool CCommSetupDlg::TransferDataFromWindow() {
    const std::string text = addressField_->GetValue().utf8_string();
    if (!IsIpv4(text)) {
        addressField_->SetFocus();
        addressField_->SelectAll();
        return false;
    }
    address_ = text;
    for (int i = 0; i < kChoices; ++i) {
        if (choices_[static_cast<size_t>(i)]->GetValue()) port_ = i;
    }
    return true;
}

}  // namespace qs::farview
