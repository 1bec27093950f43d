#pragma once
#include <vector>

#include "appmodel/wizard/WizardModel.h"

namespace qs {

// One page of the wizard: its kind and the arm, meter or additive it asks about.
struct WizardPage {
    enum Kind { kHardware, kArmType, kArmDetail, kMeterRun, kAdditive, kPulseOutputs, kOtherIo, kConfirm };
    Kind kind = kHardware;
    int arm = -1;
    int meter = -1;
    int additive = -1;
};

// Every page the wizard may show, in order: the hardware page, one arm-type page per arm, per
// arm i a detail page and (meter count - i) meter-run pages, one page per additive, then the
// pulse outputs, the other I/O and the confirmation. Which pages are shown follows the
// answers, page by page as the user moves.
class WizardPageList {
public:
    explicit WizardPageList(const WizardModel& model);

    const std::vector<WizardPage>& Pages() const { return pages_; }
    int Count() const { return static_cast<int>(pages_.size()); }
    const WizardPage& At(int index) const { return pages_.at(static_cast<size_t>(index)); }

    // Rows of the arm-type list the arm's page offers: the blending rows only as far as meters
    // are left (at most 3 without a BSE board), and never a side-stream arm on a single meter.
    int OfferedArmTypes(int arm) const;
    // Whether the page is shown with the answers as they are.
    bool IsShown(int index) const;
    // The page shown after or before `index`; -1 when none.
    int Next(int index) const;
    int Previous(int index) const;
    // The pages a user walking forward from the first one sees with these answers.
    std::vector<int> Walk() const;
    // Next stays off on the first arm's page until the arm has a type.
    bool NextEnabled(int index) const;

private:
    const WizardModel& model_;
    std::vector<WizardPage> pages_;
};

}  // namespace qs
