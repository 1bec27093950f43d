#pragma once
#include <array>

#include "app/tools/wizard/CDX3WizardPage.h"

class wxCheckBox;

namespace qs {

// The I/O the arms share: security switches, remote stop and system permissives, alarms, and
// the general-purpose inputs, outputs and analog outputs.
class CDX3MiscDlg : public CDX3WizardPage {
public:
    CDX3MiscDlg(CDX3PropertySheet& sheet, int index);
    std::string Caption() const override;

    enum Box { kSecurity, kSecurity2, kRemoteStopAll, kPermissive1, kPermissive2, kPermissive3, kAlarm, kAlarm2, kBoxCount };
    wxCheckBox* BoxAt(Box box) const { return boxes_[box]; }
    wxTextCtrl* GeneralInputsField() const { return generalInputs_; }
    wxTextCtrl* GeneralOutputsField() const { return generalOutputs_; }
    wxTextCtrl* AnalogOutputsField() const { return analogOutputs_; }
    wxStaticText* InputsLabel() const { return inputs_; }
    wxStaticText* OutputsLabel() const { return outputs_; }

protected:
    void Load() override;
    void Store() override;
    bool CheckFields() override;

private:
    std::array<bool*, kBoxCount> Answered() const;

    std::array<wxCheckBox*, kBoxCount> boxes_{};
    wxTextCtrl* generalInputs_ = nullptr;
    wxTextCtrl* generalOutputs_ = nullptr;
    wxTextCtrl* analogOutputs_ = nullptr;
    wxStaticText* inputs_ = nullptr;
    wxStaticText* outputs_ = nullptr;
};

}  // namespace qs
