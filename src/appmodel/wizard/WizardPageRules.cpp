#include "appmodel/wizard/WizardPageRules.h"

#include <algorithm>

#include "appmodel/wizard/WizardTexts.h"

namespace qs {

namespace {

using A = WizardAnswers;

std::string Num(int n) { return std::to_string(n); }

template <class Answers>
auto& RunOf(Answers& answers, int arm, int meter) {
    return answers.meters[static_cast<size_t>(arm)][static_cast<size_t>(meter)];
}

// Whether a meter measures that kind itself (a density frequency input can be shared too).
bool OwnTransducer(WizardPageRules::ShareKind kind, const A::MeterRun& run) {
    switch (kind) {
    case WizardPageRules::kTemperature:
        return run.temperature >= A::kCurrent && run.temperature <= A::kRtdOrFrequency;
    case WizardPageRules::kDensity:
        return run.density >= A::kCurrent && run.density <= A::kRtdOrFrequency;
    default:
        return run.pressure == A::kCurrent || run.pressure == A::kVoltage;
    }
}

}  // namespace

WizardPageRules::WizardPageRules(WizardModel& model, const WizardPageList& pages) : model_(model), pages_(pages) {}

// ---- arm type

std::string WizardPageRules::ArmTypeCaption(int arm) const { return "Arm " + Num(arm + 1) + " Type:"; }

void WizardPageRules::PrepareArmType(int arm) {
    if (model_.answers.armType[static_cast<size_t>(arm)] >= pages_.OfferedArmTypes(arm))
        model_.SetArmType(arm, A::kArmNotUsed);
}

int WizardPageRules::InjectorLimit(int arm) const {
    const int own = model_.ArmInUse(arm) ? std::max(model_.answers.injectors[static_cast<size_t>(arm)], 0) : 0;
    return std::max(model_.AdditiveCount() - (model_.TotalInjectors() - own), 0);
}

std::string WizardPageRules::RemainingText() const {
    return Num(model_.AdditiveCount() - model_.TotalInjectors()) + " of " + Num(model_.AdditiveCount()) + " Remaining";
}

// ---- arm detail

std::string WizardPageRules::ArmDetailCaption(int arm) const { return "Arm #" + Num(arm + 1) + " Configuration Detail"; }

void WizardPageRules::PrepareArmDetail(int arm) {
    int& outputs = model_.answers.blockValveOutputs[static_cast<size_t>(arm)];
    if (BlockValvesEnabled(arm) && outputs == -1) outputs = 1;
}

// ---- meter run

std::string WizardPageRules::MeterRunCaption(int arm, int meter) const {
    if (model_.TypeOf(arm) >= A::kSideStream) return "Arm #" + Num(arm + 1) + " Meter " + Num(meter + 1) + " Detail";
    return "Arm #" + Num(arm + 1) + " Meter Detail";
}

std::vector<WizardPageRules::ShareItem> WizardPageRules::ShareCandidates(ShareKind kind, int arm, int meter) const {
    std::vector<ShareItem> items;
    auto consider = [&](int a, int m) {
        if (OwnTransducer(kind, RunOf(model_.answers, a, m)))
            items.push_back({"Arm" + Num(a + 1) + " Mtr" + Num(m + 1), a * model_.MeterCount() + m + 1});
    };
    for (int a = 0; a < std::min(arm, model_.ArmsInUse()); ++a)
        for (int m = 0; m < model_.MetersOfArm(a); ++m) consider(a, m);
    if (model_.ArmInUse(arm))
        for (int m = 0; m < std::min(meter, model_.MetersOfArm(arm)); ++m) consider(arm, m);
    return items;
}

int WizardPageRules::ShareRow(const std::vector<ShareItem>& items, int share) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].data == share) return static_cast<int>(i);
    return static_cast<int>(items.size()) - 1;
}

void WizardPageRules::PrepareMeterRun(int arm, int meter) {
    A::MeterRun& run = RunOf(model_.answers, arm, meter);
    struct Field {
        ShareKind kind;
        int* choice;
        int* share;
        int shared;
    };
    const Field fields[] = {{kTemperature, &run.temperature, &run.temperatureShare, A::kShared},
                            {kDensity, &run.density, &run.densityShare, A::kShared},
                            {kPressure, &run.pressure, &run.pressureShare, A::kPressureShared}};
    for (const Field& f : fields) {
        if (*f.choice != f.shared) continue;
        const std::vector<ShareItem> items = ShareCandidates(f.kind, arm, meter);
        if (items.empty()) {
            *f.choice = A::kNone;
            *f.share = 0;
        } else {
            *f.share = items[static_cast<size_t>(ShareRow(items, *f.share))].data;
        }
    }
}

bool WizardPageRules::FrequencyEnabled(int arm, int meter) const {
    return RunOf(model_.answers, arm, meter).density == A::kRtdOrFrequency ||
           model_.CountPulseInputsUsed() < model_.PulseInputsAvailable();
}

// ---- additives

std::string WizardPageRules::AdditiveCaption(int additive) const {
    return "Additive " + Num(additive + 1) + " - Arm #" + Num(model_.AdditiveOwner(additive) + 1);
}

void WizardPageRules::PrepareAdditive(int additive) {
    int& type = model_.answers.additives[static_cast<size_t>(additive)].type;
    if (type < 0 || type >= model_.OfferedInjectorTypes()) type = A::kInjectorNotUsed;
}

int WizardPageRules::MeterBoxesEnabled(int additive) const {
    const int owner = model_.AdditiveOwner(additive);
    if (owner < 0 || model_.TypeOf(owner) < A::kSideStream) return 0;
    return std::max(2, model_.MetersOfArm(owner));
}

// ---- pulse outputs

std::vector<std::string> WizardPageRules::PulseArmTexts() const {
    std::vector<std::string> texts = {"Not Used"};
    for (int a = 0; a < model_.ArmsInUse(); ++a) texts.push_back("Arm " + Num(a + 1));
    return texts;
}

std::vector<std::string> WizardPageRules::PulseMeterTexts(int armChoice) const {
    std::vector<std::string> texts = {"Arm Total Pulses"};
    const int arm = armChoice - 1;
    if (armChoice >= 1 && model_.TypeOf(arm) >= A::kSideStream)
        for (int m = 0; m < model_.MetersOfArm(arm); ++m) texts.push_back("Meter " + Num(m + 1) + " Pulses");
    return texts;
}

void WizardPageRules::PreparePulseOutputs() {
    const int arms = static_cast<int>(PulseArmTexts().size());
    for (A::PulseOutput& p : model_.answers.pulseOutputs) {
        if (p.arm < 0 || p.arm >= arms) p.arm = 0;
        if (p.meter < 0 || p.meter >= static_cast<int>(PulseMeterTexts(p.arm).size())) p.meter = 0;
        if (p.source < 0 || p.source >= WizardTexts::kPulseSources) p.source = 0;
    }
}

// ---- confirmation

std::vector<std::string> WizardPageRules::ConfirmArmLines() const {
    std::vector<std::string> lines;
    for (int a = 0; a < A::kMaxArms; ++a)
        lines.push_back("Arm " + Num(a + 1) + ": " + WizardTexts::ArmTypeText(model_.TypeOf(a)));
    return lines;
}

// ---- going forward

std::string WizardPageRules::RefusalOnNext(const WizardPage& page) const {
    std::string refusal;
    switch (page.kind) {
    case WizardPage::kArmDetail:
        model_.CheckIoLimits(&refusal);
        break;
    case WizardPage::kMeterRun:
        if (model_.CountAnalogChannels() > WizardModel::kMaxAnalogChannels) refusal = kAnalogRequestedMessage;
        break;
    case WizardPage::kAdditive: {
        const int type = model_.AdditiveTypeOf(page.additive);
        if (type == A::kMetered && model_.CountMeteredInjectors() > kMaxMeteredInjectors)
            refusal = kMeteredUsedMessage;
        else if (type == A::kMetered && model_.CountPulseInputsUsed() > model_.PulseInputsAvailable())
            refusal = kMeteredPulseMessage;
        else if (type == A::kFerrix && model_.CountFerrixInjectors() > kFerrixPerBoard * model_.answers.aicbBoards)
            refusal = kFerrixUsedMessage;
        else
            model_.CheckIoLimits(&refusal);
        break;
    }
    case WizardPage::kOtherIo:
        if (model_.CountAnalogChannels() > WizardModel::kMaxAnalogChannels)
            refusal = kAnalogConfiguredMessage;
        else
            model_.CheckIoLimits(&refusal);
        break;
    default:
        break;
    }
    return refusal;
}

std::string WizardPageRules::UnassignedText(const std::vector<std::string>& lines) {
    if (lines.empty()) return {};
    std::string text = kUnassignedMessage;
    for (const std::string& line : lines) text += "\n" + line;
    return text;
}

}  // namespace qs
