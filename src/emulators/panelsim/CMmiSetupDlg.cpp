#include "emulators/panelsim/CMmiSetupDlg.h"

#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

namespace qs::panelsim {
namespace {

constexpr int kTemplateId = 131;

}  // namespace

CMmiSetupDlg::CMmiSetupDlg(wxWindow* parent, int port, const std::string& addressList)
    : wxDialog(parent, kTemplateId, "Communications Port Setup"), editor_(addressList), port_(port) {
    wxArrayString ports;
    for (int i = 1; i <= kPorts; ++i) ports.Add(wxString::Format("Com %d", i));
    portChoice_ = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, ports);
    if (port >= 1 && port <= kPorts) portChoice_->SetSelection(port - 1);

    addresses_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(120, 140));
    newAddress_ = new wxSpinCtrl(this, wxID_ANY, "", wxDefaultPosition, wxSize(90, -1), wxSP_ARROW_KEYS, 0,
                                 AddressListEditor::kMaxAddress, 0);
    auto* add = new wxButton(this, wxID_ANY, "Add >>");
    auto* remove = new wxButton(this, wxID_ANY, ">>  Remove");
    add->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Add(); });
    remove->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Remove(); });
    Refill(wxNOT_FOUND);

    auto* portRow = new wxBoxSizer(wxHORIZONTAL);
    portRow->Add(new wxStaticText(this, wxID_ANY, "PC Com Port to Use:"), 0, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 8);
    portRow->Add(portChoice_);
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(newAddress_, 0, wxEXPAND | wxBOTTOM, 6);
    buttons->Add(add, 0, wxEXPAND | wxBOTTOM, 6);
    buttons->Add(remove, 0, wxEXPAND);
    auto* listRow = new wxBoxSizer(wxHORIZONTAL);
    listRow->Add(buttons, 0, wxRIGHT, 10);
    listRow->Add(addresses_, 1, wxEXPAND);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(portRow, 0, wxALL, 10);
    top->Add(new wxStaticText(this, wxID_ANY, "Addresses of arms to include in polling loop:"), 0, wxLEFT | wxRIGHT, 10);
    top->Add(listRow, 1, wxEXPAND | wxALL, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);
    CentreOnParent();
}

void CMmiSetupDlg::Refill(int selection) {
    addresses_->Clear();
    for (const std::string& entry : editor_.Entries()) addresses_->Append(wxString::FromUTF8(entry));
    if (selection != wxNOT_FOUND && selection < static_cast<int>(addresses_->GetCount())) addresses_->SetSelection(selection);
}

void CMmiSetupDlg::Add() {
    if (!editor_.Add(newAddress_->GetValue())) {
        wxBell();
        return;
    }
    Refill(static_cast<int>(editor_.Entries().size()) - 1);
}

void CMmiSetupDlg::Remove() {
    const int selection = addresses_->GetSelection();
    if (editor_.Remove(selection)) Refill(std::min(selection, static_cast<int>(editor_.Entries().size()) - 1));
}

bool CMmiSetupDlg::TransferDataFromWindow() {
    if (portChoice_->GetSelection() != wxNOT_FOUND) port_ = portChoice_->GetSelection() + 1;
    return true;
}

}  // namespace qs::panelsim
