#include "app/tools/wizard/CDX3BoxCfgDlg.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/WxText.h"
#include "appmodel/programdata/DocumentOptionsModel.h"
#include "app/tools/wizard/CDX3PropertySheet.h"

namespace qs {

CDX3BoxCfgDlg::CDX3BoxCfgDlg(CDX3PropertySheet& sheet, int index) : CDX3WizardPage(sheet, index) {
    wxSizer* column = Column();
    const int gap = FromDIP(8);
    auto* welcome = new wxStaticText(
        this, wxID_ANY,
        "Welcome to the New Duravane III Wizard.\n\n"
        "The next pages ask for the hardware of the new controller and how its arms, meters,\n"
        "valves, additives and I/O are laid out. The answers fill a new data file with the\n"
        "matching program codes.");
    column->Add(welcome, 0, wxBOTTOM, 2 * gap);

    column->Add(new wxStaticText(this, wxID_ANY, "This Duravane III is attached to which communication port on the PC?"),
                0, wxBOTTOM, gap / 2);
    wxArrayString ports;
    for (const std::string& text : DocumentOptionsModel::PortTexts()) ports.Add(ToWx(text));
    port_ = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, ports);
    column->Add(port_, 0, wxBOTTOM, gap);

    auto* ipRow = new wxBoxSizer(wxHORIZONTAL);
    ipRow->Add(new wxStaticText(this, wxID_ANY, "Provide an IP address:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    ip_ = new wxTextCtrl(this, wxID_ANY);
    ip_->SetMaxLength(15);
    ip_->SetMinSize(wxSize(ip_->GetTextExtent("000.000.000.000").x + 2 * gap, -1));
    ipRow->Add(ip_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    ipRow->Add(new wxStaticText(this, wxID_ANY, "(only used when TCP/IP is selected)"), 0, wxALIGN_CENTER_VERTICAL);
    column->Add(ipRow, 0, wxBOTTOM, 2 * gap);
    ip_->Disable();

    bse_ = new wxCheckBox(this, wxID_ANY, "&BSE Board");
    secondDisplay_ = new wxCheckBox(this, wxID_ANY, "2nd &Display");
    aicb_ = new wxCheckBox(this, wxID_ANY, "&AICB (Ferrix) Board");
    aicb2_ = new wxCheckBox(this, wxID_ANY, "2nd &AICB (Dual Ferrixs)");
    for (wxCheckBox* box : {bse_, secondDisplay_, aicb_, aicb2_}) column->Add(box, 0, wxBOTTOM, gap / 2);

    port_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { EnableIp(); });
}

std::string CDX3BoxCfgDlg::Caption() const { return CDX3PropertySheet::kCaption; }

void CDX3BoxCfgDlg::EnableIp() { ip_->Enable(DocumentOptionsModel::IpAddressEnabled(port_->GetSelection())); }

void CDX3BoxCfgDlg::Load() {
    const WizardAnswers& a = Answers();
    port_->SetSelection(DocumentOptionsModel::ListRow(a.portChoice, static_cast<int>(port_->GetCount())));
    ip_->ChangeValue(ToWx(DocumentOptionsModel::FormatIpv4(a.ipv4)));
    EnableIp();
    bse_->SetValue(a.bseBoard);
    secondDisplay_->SetValue(a.secondDisplay);
    aicb_->SetValue(a.aicbBoards >= 1);
    aicb2_->SetValue(a.aicbBoards == 2);
}

void CDX3BoxCfgDlg::Store() {
    WizardAnswers& a = Answers();
    if (port_->GetSelection() != wxNOT_FOUND) a.portChoice = port_->GetSelection();
    if (ip_->IsEnabled())
        if (const auto ipv4 = DocumentOptionsModel::ParseIpv4(ip_->GetValue().utf8_string())) a.ipv4 = *ipv4;
    a.secondDisplay = secondDisplay_->GetValue();
    a.bseBoard = bse_->GetValue();
    a.aicbBoards = (aicb_->GetValue() ? 1 : 0) + (aicb2_->GetValue() ? 1 : 0);
}

bool CDX3BoxCfgDlg::CheckFields() {
    if (!ip_->IsEnabled()) return true;
    if (DocumentOptionsModel::CheckIpv4Text(Ui(), ip_->GetValue().utf8_string())) return true;
    ip_->SetFocus();
    return false;
}

}  // namespace qs
