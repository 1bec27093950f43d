#pragma once
#include "app/tools/wizard/CDX3WizardPage.h"

class wxListBox;

namespace qs {

// An arm's type (from the rows the meters left allow), its device address and its number of
// additive injectors.
class CDX3ArmCfgDlg : public CDX3WizardPage {
public:
    CDX3ArmCfgDlg(CDX3PropertySheet& sheet, int index);
    std::string Caption() const override;

    wxStaticText* TypeLabel() const { return typeLabel_; }
    wxListBox* TypeList() const { return types_; }
    wxTextCtrl* AddressField() const { return address_; }
    wxTextCtrl* InjectorsField() const { return injectors_; }
    wxStaticText* RemainingLabel() const { return remaining_; }

protected:
    void Load() override;
    void Store() override;
    bool CheckFields() override;

private:
    void OnType();

    wxStaticText* typeLabel_ = nullptr;
    wxListBox* types_ = nullptr;
    wxTextCtrl* address_ = nullptr;
    wxTextCtrl* injectors_ = nullptr;
    wxStaticText* remaining_ = nullptr;
};

}  // namespace qs
