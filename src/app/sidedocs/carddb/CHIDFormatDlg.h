#pragma once
#include "app/common/StandardDialog.h"

#include "sidedocs/carddb/HidCardCode.h"

class wxRadioButton;
class wxTextCtrl;

namespace qs {

struct UiServices;

// "HID Card Data Encoding": the raw card data of an HID proximity card composed from its
// facility code and card number. OK checks the three numbers and composes the value; the
// extended code shown is replaced by the parity mark.
class CHIDFormatDlg : public StandardDialog {
public:
    static constexpr int kHelpId = 210;

    // Shows `code` as its value reads (ParseValue); OK leaves the composed value in it.
    CHIDFormatDlg(wxWindow* parent, HidCardCode& code, const UiServices& ui);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxTextCtrl* ExtendedField() const { return extended_; }
    wxTextCtrl* FacilityField() const { return facility_; }
    wxTextCtrl* CardField() const { return card_; }
    wxRadioButton* Standard26() const { return format26_; }
    wxRadioButton* Format37() const { return format37_; }

private:
    HidCardCode& code_;
    const UiServices& ui_;
    wxTextCtrl* extended_ = nullptr;
    wxTextCtrl* facility_ = nullptr;
    wxTextCtrl* card_ = nullptr;
    wxRadioButton* format26_ = nullptr;
    wxRadioButton* format37_ = nullptr;
};

}  // namespace qs
