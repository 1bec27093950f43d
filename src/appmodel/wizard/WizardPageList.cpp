#include "appmodel/wizard/WizardPageList.h"

#include <algorithm>

#include "appmodel/wizard/WizardTexts.h"

namespace qs {

using A = WizardAnswers;

WizardPageList::WizardPageList(const WizardModel& model) : model_(model) {
    pages_.push_back({WizardPage::kHardware});
    for (int a = 0; a < model.ArmCount(); ++a) pages_.push_back({WizardPage::kArmType, a});
    for (int a = 0; a < model.ArmCount(); ++a) {
        pages_.push_back({WizardPage::kArmDetail, a});
        for (int m = 0; m < model.MeterCount() - a; ++m) pages_.push_back({WizardPage::kMeterRun, a, m});
    }
    for (int k = 0; k < model.AdditiveCount(); ++k) pages_.push_back({WizardPage::kAdditive, -1, -1, k});
    pages_.push_back({WizardPage::kPulseOutputs});
    pages_.push_back({WizardPage::kOtherIo});
    pages_.push_back({WizardPage::kConfirm});
}

int WizardPageList::OfferedArmTypes(int arm) const {
    const int limit = model_.answers.bseBoard ? model_.MeterCount() : std::min(3, model_.MeterCount());
    int offered = 7 + limit - model_.TotalMeters() + model_.MetersOfArm(arm);
    // A side-stream arm needs two meters.
    if (offered == 8) offered = 7;
    return std::clamp(offered, 0, WizardTexts::kArmTypes);
}

bool WizardPageList::IsShown(int index) const {
    if (index < 0 || index >= Count()) return false;
    const WizardPage& page = At(index);
    switch (page.kind) {
    case WizardPage::kArmType: {
        const int a = page.arm;
        if (!model_.answers.secondDisplay && a >= 2) return false;
        if (a > 0 && !model_.ArmInUse(a - 1)) return false;
        const int limit = model_.answers.bseBoard ? model_.MeterCount() : std::min(3, model_.MeterCount());
        const bool allMetersUsed = model_.TotalMeters() >= limit;
        if (allMetersUsed && model_.answers.armType[static_cast<size_t>(a)] == A::kArmNotUsed) return false;
        return 7 + limit - model_.TotalMeters() + model_.MetersOfArm(a) > 1;
    }
    case WizardPage::kArmDetail:
        return model_.ArmInUse(page.arm);
    case WizardPage::kMeterRun:
        if (!model_.ArmInUse(page.arm)) return false;
        return page.meter == 0 || (model_.TypeOf(page.arm) >= A::kSideStream && page.meter < model_.MetersOfArm(page.arm));
    case WizardPage::kAdditive:
        return page.additive < model_.TotalInjectors();
    default:
        return true;
    }
}

int WizardPageList::Next(int index) const {
    for (int i = index + 1; i < Count(); ++i)
        if (IsShown(i)) return i;
    return -1;
}

int WizardPageList::Previous(int index) const {
    for (int i = std::min(index, Count()) - 1; i >= 0; --i)
        if (IsShown(i)) return i;
    return -1;
}

std::vector<int> WizardPageList::Walk() const {
    std::vector<int> shown;
    for (int i = 0; i >= 0; i = Next(i)) shown.push_back(i);
    return shown;
}

bool WizardPageList::NextEnabled(int index) const {
    if (index < 0 || index >= Count()) return false;
    const WizardPage& page = At(index);
    return !(page.kind == WizardPage::kArmType && page.arm == 0 &&
             model_.answers.armType[0] == A::kArmNotUsed);
}

}  // namespace qs
