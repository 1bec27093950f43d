#include "app/common/AddressValidator.h"

#include <wx/textctrl.h>

namespace qs {

AddressValidator::AddressValidator(int* value, DocumentOptionsModel::AddressRole role, const UiServices& ui)
    : value_(value), role_(role), ui_(&ui) {}

bool AddressValidator::Validate(wxWindow*) {
    auto* text = wxDynamicCast(GetWindow(), wxTextCtrl);
    if (!text) return false;
    if (DocumentOptionsModel::CheckAddressText(*ui_, text->GetValue().utf8_string(), role_)) return true;
    text->SetFocus();
    text->SelectAll();
    return false;
}

bool AddressValidator::TransferToWindow() {
    auto* text = wxDynamicCast(GetWindow(), wxTextCtrl);
    if (!text || !value_) return false;
    text->ChangeValue(wxString::Format("%d", *value_));
    return true;
}

bool AddressValidator::TransferFromWindow() {
    auto* text = wxDynamicCast(GetWindow(), wxTextCtrl);
    if (!text || !value_) return false;
    // Validate has passed, so this shows nothing; a text changed in between is checked again.
    auto value = DocumentOptionsModel::CheckAddressText(*ui_, text->GetValue().utf8_string(), role_);
    if (!value) return false;
    *value_ = *value;
    return true;
}

}  // namespace qs
