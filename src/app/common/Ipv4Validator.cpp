#include "app/common/Ipv4Validator.h"

#include <wx/textctrl.h>

#include "appmodel/programdata/DocumentOptionsModel.h"

namespace qs {

Ipv4Validator::Ipv4Validator(uint32_t* address, const UiServices& ui) : address_(address), ui_(&ui) {}

bool Ipv4Validator::Validate(wxWindow*) {
    auto* text = wxDynamicCast(GetWindow(), wxTextCtrl);
    if (!text) return false;
    if (!text->IsEnabled()) return true;
    if (DocumentOptionsModel::CheckIpv4Text(*ui_, text->GetValue().utf8_string())) return true;
    text->SetFocus();
    text->SelectAll();
    return false;
}

bool Ipv4Validator::TransferToWindow() {
    auto* text = wxDynamicCast(GetWindow(), wxTextCtrl);
    if (!text || !address_) return false;
    text->ChangeValue(wxString::FromUTF8(DocumentOptionsModel::FormatIpv4(*address_)));
    return true;
}

bool Ipv4Validator::TransferFromWindow() {
    auto* text = wxDynamicCast(GetWindow(), wxTextCtrl);
    if (!text || !address_) return false;
    if (!text->IsEnabled()) return true;
    auto address = DocumentOptionsModel::CheckIpv4Text(*ui_, text->GetValue().utf8_string());
    if (!address) return false;
    *address_ = *address;
    return true;
}

}  // namespace qs
