#pragma once
#include <array>

#include "app/tools/wizard/CDX3WizardPage.h"

class wxCheckBox;

namespace qs {

// An arm's outputs and inputs: product pump, block valves, the arm's digital inputs, and on
// the first arm's page the pulse transmitters of the whole installation.
class CDX3ArmDetailDlg : public CDX3WizardPage {
public:
    CDX3ArmDetailDlg(CDX3PropertySheet& sheet, int index);
    std::string Caption() const override;

    enum Box {
        kProductPump, kBlockValveOutputs, kBlockValveFeedback, kDualPulse, kSecurity, kRemoteStart, kRemoteStop,
        kTransactionReset, kTicketTray, kHighFlow, kPermissive, kPermissive2, kBoxCount
    };
    wxCheckBox* BoxAt(Box box) const { return boxes_[box]; }
    wxStaticText* CaptionLabel() const { return caption_; }
    wxStaticText* TypeLabel() const { return type_; }

protected:
    void Load() override;
    void Store() override;

private:
    wxStaticText* caption_ = nullptr;
    wxStaticText* type_ = nullptr;
    std::array<wxCheckBox*, kBoxCount> boxes_{};
};

}  // namespace qs
