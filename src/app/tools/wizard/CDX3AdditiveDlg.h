#pragma once
#include <array>

#include "app/tools/wizard/CDX3WizardPage.h"

class wxCheckBox;
class wxChoice;
class wxStaticBox;

namespace qs {

// One additive injector: its type, its pump output and, on a blending arm, the meters it is
// plumbed to.
class CDX3AdditiveDlg : public CDX3WizardPage {
public:
    static constexpr int kMeterBoxes = 6;

    CDX3AdditiveDlg(CDX3PropertySheet& sheet, int index);
    std::string Caption() const override;

    wxStaticText* CaptionLabel() const { return caption_; }
    wxChoice* TypeList() const { return type_; }
    wxCheckBox* PumpBox() const { return pump_; }
    wxCheckBox* MeterBox(int meter) const { return meters_[static_cast<size_t>(meter)]; }
    wxStaticText* InputsLabel() const { return inputs_; }
    wxStaticText* OutputsLabel() const { return outputs_; }

protected:
    void Load() override;
    void Store() override;

private:
    void ShowCounts();

    wxStaticText* caption_ = nullptr;
    wxChoice* type_ = nullptr;
    wxCheckBox* pump_ = nullptr;
    wxStaticBox* group_ = nullptr;
    std::array<wxCheckBox*, kMeterBoxes> meters_{};
    wxStaticText* inputs_ = nullptr;
    wxStaticText* outputs_ = nullptr;
};

}  // namespace qs
