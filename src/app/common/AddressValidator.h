#pragma once
#include <wx/validate.h>

#include "appmodel/programdata/DocumentOptionsModel.h"

namespace qs {

// A device address typed in a text field: the base address 1-99, an arm address 0-99. A refused
// text shows its message and keeps the dialog open.
class AddressValidator : public wxValidator {
public:
    // A refused text is said through `ui`.
    AddressValidator(int* value, DocumentOptionsModel::AddressRole role, const UiServices& ui);
    AddressValidator(const AddressValidator&) = default;

    wxObject* Clone() const override { return new AddressValidator(*this); }
    bool Validate(wxWindow* parent) override;
    bool TransferToWindow() override;
    bool TransferFromWindow() override;

private:
    int* value_;
    DocumentOptionsModel::AddressRole role_;
    const UiServices* ui_;
};

}  // namespace qs
