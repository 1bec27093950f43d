#pragma once
#include <array>

#include "app/tools/wizard/CDX3WizardPage.h"

class wxChoice;

namespace qs {

// The two pulse outputs: the arm (and meter of a blending arm) they repeat, the quantity, the
// pulses per unit and the highest frequency.
class CDX3PulseOutDlg : public CDX3WizardPage {
public:
    static constexpr double kLowestPerUnit = 0.001;
    static constexpr double kHighestPerUnit = 999.999;  // what "%7.3f" holds

    CDX3PulseOutDlg(CDX3PropertySheet& sheet, int index);
    std::string Caption() const override;

    struct Output {
        wxChoice* arm = nullptr;
        wxChoice* meter = nullptr;
        wxChoice* source = nullptr;
        wxTextCtrl* perUnit = nullptr;
        wxTextCtrl* maxFrequency = nullptr;
    };
    const Output& OutputAt(int output) const { return outputs_[static_cast<size_t>(output)]; }

protected:
    void Load() override;
    void Store() override;
    bool CheckFields() override;

private:
    // The meter list of an output for its arm, with `row` chosen.
    void FillMeters(int output, int row);

    std::array<Output, WizardAnswers::kPulseOutputs> outputs_{};
};

}  // namespace qs
