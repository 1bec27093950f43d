#pragma once
#include <cstdint>

#include "app/programdata/CParamEditDlg.h"

namespace qs {

// The editor of a code whose value is an IPv4 address kept as one unsigned number (first
// octet in the high byte): the current and the new address in dotted form. OK gives the new
// address back as that number in decimal.
class CParamEditIPDlg final : public CParamEditDlg {
public:
    CParamEditIPDlg(wxWindow* parent, ParamEditRequest& request);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxTextCtrl* NewAddressField() const { return newAddress_; }
    uint32_t NewAddress() const { return newValue_; }

private:
    wxTextCtrl* newAddress_ = nullptr;
    uint32_t currentValue_ = 0;  // what the validators show and fill
    uint32_t newValue_ = 0;
};

}  // namespace qs
