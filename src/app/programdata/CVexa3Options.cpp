#include "app/programdata/CVexa3Options.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/AddressValidator.h"
#include "app/common/CCommDlg.h"
#include "app/common/CodePageText.h"
#include "app/common/Ipv4Validator.h"
#include "link/CommSettingsText.h"
#include "platform/UiServices.h"

namespace qs {

namespace {

wxChoice* MakeList(wxWindow* parent, const std::vector<std::string>& texts) {
    auto* list = new wxChoice(parent, wxID_ANY);
    for (const auto& text : texts) list->Append(wxString::FromUTF8(text));
    return list;
}

template <size_t N>
std::vector<std::string> Texts(const std::array<const char*, N>& texts) {
    return {texts.begin(), texts.end()};
}

wxStaticText* Label(wxWindow* parent, const char* text) { return new wxStaticText(parent, wxID_ANY, text); }

}  // namespace

CVexa3Options::CVexa3Options(wxWindow* parent, const DocumentLinkFields& fields, IniProfile profile,
                             const UiServices& ui)
    : StandardDialog(parent, wxID_ANY, "Options for this Duravane III"), model_(fields, std::move(profile), ui) {
    runCommDialog = [](wxWindow* owner, const std::string& portName, SerialSettings& settings) {
        CCommDlg dialog(portName, &settings, owner);
        return dialog.ShowModal() == wxID_OK;
    };

    const int gap = Gap();
    auto* top = new wxBoxSizer(wxVERTICAL);

    // Description and model.
    auto* head = new wxFlexGridSizer(2, wxSize(gap, gap));
    head->AddGrowableCol(1);
    head->Add(Label(this, "Description:"), 0, wxALIGN_CENTER_VERTICAL);
    description_ = new wxTextCtrl(this, wxID_ANY);
    description_->SetMaxLength(DocumentOptionsModel::kMaxDescriptionBytes);
    head->Add(description_, 1, wxEXPAND);
    head->Add(Label(this, "Type:"), 0, wxALIGN_CENTER_VERTICAL);
    modelList_ = MakeList(this, Texts(DocumentOptionsModel::ModelTexts()));
    head->Add(modelList_, 1, wxEXPAND);
    top->Add(head, 0, wxEXPAND | wxALL, Margin());

    // Link: port with its serial settings, IP address, protocol.
    auto* linkBox = new wxStaticBoxSizer(wxVERTICAL, this);
    wxWindow* linkParent = linkBox->GetStaticBox();
    auto* link = new wxFlexGridSizer(3, wxSize(gap, gap));
    link->AddGrowableCol(1);
    link->Add(Label(linkParent, "Com Port:"), 0, wxALIGN_CENTER_VERTICAL);
    portList_ = MakeList(linkParent, DocumentOptionsModel::PortTexts());
    link->Add(portList_, 1, wxEXPAND);
    commSettings_ = new wxButton(linkParent, wxID_ANY, "Comm &Settings...");
    link->Add(commSettings_, 0, wxEXPAND);
    link->Add(Label(linkParent, "IP Address:"), 0, wxALIGN_CENTER_VERTICAL);
    ipAddress_ = new wxTextCtrl(linkParent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
                                Ipv4Validator(&ipValue_, ui));
    ipAddress_->SetMaxLength(15);
    link->Add(ipAddress_, 1, wxEXPAND);
    link->AddSpacer(0);
    link->Add(Label(linkParent, "Protocol:"), 0, wxALIGN_CENTER_VERTICAL);
    protocolList_ = MakeList(linkParent, Texts(DocumentOptionsModel::ProtocolTexts()));
    link->Add(protocolList_, 1, wxEXPAND);
    link->AddSpacer(0);
    linkBox->Add(link, 1, wxEXPAND | wxALL, gap);
    top->Add(linkBox, 0, wxEXPAND | wxLEFT | wxRIGHT, Margin());

    // Device addresses of the six arms.
    auto* addressBox = new wxStaticBoxSizer(wxVERTICAL, this);
    wxWindow* addressParent = addressBox->GetStaticBox();
    auto* grid = new wxFlexGridSizer(6, wxSize(gap, gap));
    const char* labels[6] = {"Arm 1 (Base):", "Arm 2:", "Arm 3:", "Arm 4:", "Arm 5:", "Arm 6:"};
    const int fieldWidth = GetTextExtent("0000").x + FromDIP(24);
    for (size_t i = 0; i < addresses_.size(); ++i) {
        auto role = i == 0 ? DocumentOptionsModel::AddressRole::Base : DocumentOptionsModel::AddressRole::Arm;
        grid->Add(Label(addressParent, labels[i]), 0, wxALIGN_CENTER_VERTICAL | wxALIGN_RIGHT);
        addresses_[i] = new wxTextCtrl(addressParent, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                       wxSize(fieldWidth, -1), 0, AddressValidator(&addressValues_[i], role, ui));
        addresses_[i]->SetMaxLength(4);
        grid->Add(addresses_[i], 0);
    }
    addressBox->Add(grid, 0, wxALL, gap);
    top->Add(addressBox, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, Margin());

    // Code page of the document's text values.
    auto* codePage = new wxBoxSizer(wxHORIZONTAL);
    codePage->Add(Label(this, "Display Text Program Code Data Using:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    codePageList_ = MakeList(this, DocumentOptionsModel::CodePageTexts());
    codePage->Add(codePageList_, 1, wxEXPAND);
    top->Add(codePage, 0, wxEXPAND | wxALL, Margin());

    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);

    portList_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { UpdateControls(); });
    commSettings_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCommSettings(); });
}

wxTextCtrl* CVexa3Options::ArmAddressField(int arm) const {
    return arm >= 2 && arm <= 6 ? addresses_[static_cast<size_t>(arm - 1)] : nullptr;
}

bool CVexa3Options::TransferDataToWindow() {
    const DocumentLinkFields& f = model_.fields;
    addressValues_[0] = f.baseAddress;
    for (size_t i = 0; i < f.armAddresses.size(); ++i) addressValues_[i + 1] = f.armAddresses[i];
    ipValue_ = f.ipv4;
    if (!wxDialog::TransferDataToWindow()) return false;

    description_->ChangeValue(FromCodePage(f.description, f.codePage));
    description_->DiscardEdits();
    modelList_->SetSelection(DocumentOptionsModel::ListRow(f.model, DocumentOptionsModel::kModelCount));
    portList_->SetSelection(DocumentOptionsModel::ListRow(f.port, DocumentOptionsModel::kPortCount));
    protocolList_->SetSelection(DocumentOptionsModel::ListRow(f.protocol, DocumentOptionsModel::kProtocolCount));
    codePageList_->SetSelection(DocumentOptionsModel::ListRow(f.codePage, static_cast<int>(codePageList_->GetCount())));
    model_.settingsChanged = false;
    UpdateControls();
    return true;
}

bool CVexa3Options::TransferDataFromWindow() {
    DocumentLinkFields& f = model_.fields;
    const int codePage = codePageList_->GetSelection();
    // An untouched description keeps its bytes: showing it may have needed stand-ins for
    // bytes the code page does not define, and those must not be written back.
    std::string description = f.description;
    if (description_->IsModified()) {
        auto bytes = ToCodePage(description_->GetValue(), codePage >= 0 ? codePage : f.codePage);
        if (!bytes) {
            model_.Ui().Message(kDescriptionNotConvertibleMessage, MB_OK | MB_ICONEXCLAMATION);
            description_->SetFocus();
            return false;
        }
        description = *bytes;
    }
    if (!DocumentOptionsModel::CheckDescription(model_.Ui(), description)) {
        description_->SetFocus();
        return false;
    }
    if (!wxDialog::TransferDataFromWindow()) return false;

    std::array<int, 5> arms{};
    for (size_t i = 0; i < arms.size(); ++i) arms[i] = addressValues_[i + 1];
    if (!DocumentOptionsModel::ConfirmArmAddresses(model_.Ui(), arms)) {
        for (size_t i = 0; i < arms.size(); ++i) {
            if (arms[i] == 0) {
                addresses_[i + 1]->SetFocus();
                addresses_[i + 1]->SelectAll();
                break;
            }
        }
        return false;
    }

    f.description = description;
    f.baseAddress = addressValues_[0];
    f.armAddresses = arms;
    f.ipv4 = ipValue_;
    // A list left without a row keeps -1, which the document takes as "not changed".
    f.model = modelList_->GetSelection();
    f.port = portList_->GetSelection();
    f.protocol = protocolList_->GetSelection();
    f.codePage = codePage;
    return true;
}

void CVexa3Options::UpdateControls() {
    const int port = portList_->GetSelection();
    commSettings_->Enable(DocumentOptionsModel::CommSettingsEnabled(port));
    ipAddress_->Enable(DocumentOptionsModel::IpAddressEnabled(port));
}

void CVexa3Options::OnCommSettings() {
    const int port = portList_->GetSelection();
    if (!DocumentOptionsModel::CommSettingsEnabled(port)) return;
    SerialSettings settings = model_.CommSettingsOfPort(port);
    if (!runCommDialog || !runCommDialog(this, CommKey(port), settings)) return;
    model_.StoreCommSettings(port, settings);
}

}  // namespace qs
