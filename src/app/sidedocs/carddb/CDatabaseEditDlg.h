#pragma once
#include <functional>

#include "app/common/StandardDialog.h"
#include <wx/font.h>

#include "sidedocs/carddb/CardRecordForm.h"
#include "sidedocs/carddb/HidCardCode.h"

class wxButton;
class wxTextCtrl;

namespace qs {

struct UiServices;

// "Edit Database Record": one card's raw data (the key, in the list's font), PIN and three
// fields. OK checks the joined length first, then the key, the PIN and the fields, each
// refusal said and the dialog kept open; "< Enter in HID Format..." composes the key from an
// HID card's numbers.
class CDatabaseEditDlg : public StandardDialog {
public:
    static constexpr int kHelpId = 210;
    // Shows the HID dialog on a code; true for OK. The HID dialog itself unless replaced.
    using HidRunner = std::function<bool(HidCardCode& code)>;

    CDatabaseEditDlg(wxWindow* parent, CardRecordForm& form, const wxFont& keyFont, const UiServices& ui);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // What "< Enter in HID Format..." does.
    void OnHidFormat();
    void SetHidRunner(HidRunner runner) { runHid_ = std::move(runner); }

    wxTextCtrl* KeyField() const { return key_; }
    wxTextCtrl* PinField() const { return pin_; }
    wxTextCtrl* Field(int n) const { return fields_[n - 1]; }
    wxButton* HidButton() const { return hid_; }

private:
    void OnOk(wxCommandEvent& event);
    // The five texts as they stand, in the document's bytes; nullopt (said) when one holds a
    // character the database cannot keep.
    std::optional<CardRecordForm> ReadForm();

    CardRecordForm& form_;
    const UiServices& ui_;
    HidRunner runHid_;
    wxTextCtrl* key_ = nullptr;
    wxTextCtrl* pin_ = nullptr;
    wxTextCtrl* fields_[3] = {};
    wxButton* hid_ = nullptr;
};

}  // namespace qs
