#pragma once
#include <wx/validate.h>

#include <cstdint>

namespace qs {

struct UiServices;

// A text field that takes a dotted IPv4 address (four numbers 0-255). The address is kept with
// its first octet in the high byte. A disabled field is not checked and leaves the address as
// it was, so a link that does not use it never blocks the dialog.
class Ipv4Validator : public wxValidator {
public:
    // A refused text is said through `ui`.
    Ipv4Validator(uint32_t* address, const UiServices& ui);
    Ipv4Validator(const Ipv4Validator&) = default;

    wxObject* Clone() const override { return new Ipv4Validator(*this); }
    bool Validate(wxWindow* parent) override;
    bool TransferToWindow() override;
    bool TransferFromWindow() override;

private:
    uint32_t* address_;
    const UiServices* ui_;
};

}  // namespace qs
