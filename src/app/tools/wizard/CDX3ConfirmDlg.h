#pragma once
#include <array>

#include "app/tools/wizard/CDX3WizardPage.h"

namespace qs {

// The last page: the I/O used and each arm's type, before Finish writes them.
class CDX3ConfirmDlg : public CDX3WizardPage {
public:
    CDX3ConfirmDlg(CDX3PropertySheet& sheet, int index);
    std::string Caption() const override;

    wxStaticText* InputsLabel() const { return inputs_; }
    wxStaticText* OutputsLabel() const { return outputs_; }
    wxStaticText* ArmLabel(int arm) const { return arms_[static_cast<size_t>(arm)]; }

protected:
    void Load() override;
    void Store() override {}

private:
    wxStaticText* inputs_ = nullptr;
    wxStaticText* outputs_ = nullptr;
    std::array<wxStaticText*, WizardAnswers::kMaxArms> arms_{};
};

}  // namespace qs
