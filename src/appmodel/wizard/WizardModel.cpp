#include "appmodel/wizard/WizardModel.h"

#include <algorithm>

#include "appmodel/wizard/WizardResultWriter.h"

namespace qs {

namespace {

using A = WizardAnswers;

int Count(bool b) { return b ? 1 : 0; }

int CountArmInputs(const A::ArmInputs& in) {
    return Count(in.remoteStart) + Count(in.remoteStop) + Count(in.transactionReset) + Count(in.ticketTray) +
           Count(in.highFlow) + Count(in.permissive) + Count(in.permissive2);
}

std::string UsedText(int used, int available, const char* what) {
    return std::to_string(used) + " of " + std::to_string(available) + " " + what + " Used";
}

}  // namespace

WizardModel::WizardModel(int armCount, int meterCount, int additiveCount)
    : armCount_(std::clamp(armCount, 0, A::kMaxArms)),
      meterCount_(std::clamp(meterCount, 0, A::kMaxMeters)),
      additiveCount_(std::clamp(additiveCount, 0, A::kMaxAdditives)) {}

int WizardModel::MetersOfType(int type) {
    if (type <= 0 || type > A::kLastArmType) return 0;
    if (type <= 6) return 1;
    if (type == A::kSideStream) return 2;
    return type - 6;
}

int WizardModel::ArmsInUse() const {
    const int limit = answers.secondDisplay ? armCount_ : std::min(2, armCount_);
    int n = 0;
    while (n < limit && MetersOfType(answers.armType[static_cast<size_t>(n)]) > 0) ++n;
    return n;
}

int WizardModel::TypeOf(int arm) const { return ArmInUse(arm) ? answers.armType[static_cast<size_t>(arm)] : 0; }

void WizardModel::SetArmType(int arm, int type) {
    if (arm < 0 || arm >= A::kMaxArms) return;
    type = std::clamp(type, 0, static_cast<int>(A::kLastArmType));
    answers.armType[static_cast<size_t>(arm)] = type;
    if (type == A::kArmNotUsed)
        for (int later = arm + 1; later < A::kMaxArms; ++later) answers.armType[static_cast<size_t>(later)] = A::kArmNotUsed;
}

// ---- resources

int WizardModel::TotalMeters() const {
    int total = 0;
    for (int a = 0; a < ArmsInUse(); ++a) total += MetersOfArm(a);
    return total;
}

int WizardModel::TotalInjectors() const {
    int total = 0;
    for (int a = 0; a < ArmsInUse(); ++a) total += std::clamp(answers.injectors[static_cast<size_t>(a)], 0, additiveCount_);
    return std::min(total, additiveCount_);
}

int WizardModel::AdditiveOwner(int additive) const {
    if (additive < 0 || additive >= TotalInjectors()) return -1;
    int owned = 0;
    for (int a = 0; a < ArmsInUse(); ++a) {
        owned += std::clamp(answers.injectors[static_cast<size_t>(a)], 0, additiveCount_);
        if (additive < owned) return a;
    }
    return -1;
}

int WizardModel::OfferedInjectorTypes() const { return answers.aicbBoards > 0 ? A::kFerrix + 1 : A::kFerrix; }

int WizardModel::AdditiveTypeOf(int additive) const {
    if (AdditiveOwner(additive) < 0) return 0;
    const int type = answers.additives[static_cast<size_t>(additive)].type;
    return type >= 0 && type < OfferedInjectorTypes() ? type : 0;
}

bool WizardModel::AdditivePumpOf(int additive) const {
    const int type = AdditiveTypeOf(additive);
    return type != A::kInjectorNotUsed && type != A::kFerrix && answers.additives[static_cast<size_t>(additive)].pumpOutput;
}

int WizardModel::MeterMaskOf(int additive) const {
    const int owner = AdditiveOwner(additive);
    if (owner < 0 || TypeOf(owner) < A::kSideStream) return 0;
    const int meters = MetersOfArm(owner);
    return answers.additives[static_cast<size_t>(additive)].meterMask & ((1 << meters) - 1);
}

int WizardModel::CountMeteredInjectors() const {
    int n = 0;
    for (int k = 0; k < TotalInjectors(); ++k) n += Count(AdditiveTypeOf(k) == A::kMetered);
    return n;
}

int WizardModel::CountFerrixInjectors() const {
    int n = 0;
    for (int k = 0; k < TotalInjectors(); ++k) n += Count(AdditiveTypeOf(k) == A::kFerrix);
    return n;
}

int WizardModel::InputsAvailable() const {
    return 23 + 10 * answers.aicbBoards - CountFerrixInjectors() - (answers.bseBoard ? 0 : 12);
}

int WizardModel::OutputsAvailable() const {
    return 38 + 2 * (10 * answers.aicbBoards - CountFerrixInjectors()) - (answers.bseBoard ? 0 : 24);
}

bool WizardModel::BlockValveOutputsOf(int arm) const {
    return IsSequential(TypeOf(arm)) && answers.blockValveOutputs[static_cast<size_t>(arm)] > 0;
}

bool WizardModel::BlockValveFeedbackOf(int arm) const {
    return IsSequential(TypeOf(arm)) && answers.blockValveFeedback[static_cast<size_t>(arm)];
}

bool WizardModel::SecurityEnabled() const {
    return answers.dualPulse && TotalMeters() < (answers.bseBoard ? 5 : 3);
}

int WizardModel::CountInputsUsed() const {
    int used = 0;
    for (int a = 0; a < ArmsInUse(); ++a) {
        if (BlockValveFeedbackOf(a)) used += TypeOf(a);
        used += CountArmInputs(answers.armInputs[static_cast<size_t>(a)]);
    }
    for (int k = 0; k < TotalInjectors(); ++k) used += Count(AdditiveTypeOf(k) == A::kPistonFeedback);
    const A::SharedIo& s = answers.shared;
    used += Count(s.securitySwitch) + Count(s.securitySwitch2) + Count(s.remoteStopAll);
    for (bool p : s.systemPermissive) used += Count(p);
    return used + std::max(s.generalInputs, 0);
}

int WizardModel::CountOutputsUsed() const {
    int used = 0;
    for (int a = 0; a < ArmsInUse(); ++a) {
        const int meters = MetersOfArm(a);
        for (int m = 0; m < meters; ++m)
            used += answers.meters[static_cast<size_t>(a)][static_cast<size_t>(m)].valve != A::kValveAnalog ? 2 : 0;
        if (BlockValveOutputsOf(a)) used += TypeOf(a);
        if (answers.productPump[static_cast<size_t>(a)]) used += meters;
    }
    for (int k = 0; k < TotalInjectors(); ++k) {
        const int type = AdditiveTypeOf(k);
        used += Count(type == A::kPiston || type == A::kPistonFeedback || type == A::kMetered);
        used += Count(AdditivePumpOf(k));
    }
    const A::SharedIo& s = answers.shared;
    return used + Count(s.alarm) + Count(s.alarm2) + std::max(s.generalOutputs, 0);
}

int WizardModel::PulseInputsAvailable() const { return answers.bseBoard ? 12 : 6; }

int WizardModel::CountPulseInputsUsed() const {
    const int perMeter = 1 + Count(answers.dualPulse) + Count(SecurityInEffect());
    int used = 0;
    for (int a = 0; a < ArmsInUse(); ++a)
        for (int m = 0; m < MetersOfArm(a); ++m)
            used += perMeter + Count(answers.meters[static_cast<size_t>(a)][static_cast<size_t>(m)].density ==
                                     A::kRtdOrFrequency);
    return used + CountMeteredInjectors();
}

int WizardModel::CountAnalogChannels() const {
    int used = 0;
    for (int a = 0; a < ArmsInUse(); ++a) {
        for (int m = 0; m < MetersOfArm(a); ++m) {
            const A::MeterRun& r = answers.meters[static_cast<size_t>(a)][static_cast<size_t>(m)];
            used += Count(r.valve == A::kValveAnalog);
            used += Count(r.temperature >= A::kCurrent && r.temperature <= A::kRtdOrFrequency);
            used += Count(r.density == A::kCurrent || r.density == A::kVoltage);
            used += Count(r.pressure == A::kCurrent || r.pressure == A::kVoltage);
        }
    }
    return used + std::max(answers.shared.analogOutputs, 0);
}

std::string WizardModel::InputsUsedText() const {
    return UsedText(CountInputsUsed(), InputsAvailable(), "Digital Inputs");
}

std::string WizardModel::OutputsUsedText() const {
    return UsedText(CountOutputsUsed(), OutputsAvailable(), "Digital Outputs");
}

// ---- limits and points

bool WizardModel::CheckIoLimits(std::string* refusal) const {
    const int inputs = CountInputsUsed(), inputsAvailable = InputsAvailable();
    const int outputs = CountOutputsUsed(), outputsAvailable = OutputsAvailable();
    std::string text;
    if (inputs > inputsAvailable) {
        text = "Configured inputs (" + std::to_string(inputs) + ") exceed limit (" + std::to_string(inputsAvailable) +
               "). Reduce selected inputs.";
    } else if (outputs > outputsAvailable) {
        text = "Configured outputs (" + std::to_string(outputs) + ") exceed limit (" +
               std::to_string(outputsAvailable) + "). Reduce selected outputs.";
    } else if (answers.bseBoard && inputsAvailable + outputsAvailable - (inputs + outputs) < 8) {
        // On the BSE board inputs and outputs share points.
        text = "Combined inputs and outputs (" + std::to_string(inputs + outputs) + ")exceed maximum (" +
               std::to_string(inputsAvailable + outputsAvailable - 8) + "). Reduce digital inputs or digital outputs.";
    }
    if (text.empty()) return true;
    if (refusal) *refusal = text;
    return false;
}

int WizardModel::NextIoPoint(int& point) const {
    const int boards = answers.aicbBoards;
    const int ferrix = CountFerrixInjectors();
    const int end = 10 * boards + 23;
    ++point;
    const int arrived = point;
    if (point == 11) {
        if (answers.bseBoard) return point;
        point = 23;
    } else if (point == 15) {
        point = 23;
    }
    // The Ferrix injectors hold the first inputs of the AICB boards.
    if ((arrived == 11 || arrived == 15 || arrived == 23) && boards > 0) point += ferrix;
    if (point >= end) {
        point = 0;
        return 0;
    }
    if (point == 6) {
        point = 15;
        // On the BSE board, points that outputs take are skipped.
        const int spill = CountOutputsUsed() + 2 * ferrix + (answers.bseBoard ? 0 : 24) - 20 * boards - 30;
        if (spill > 0) point = 15 + spill;
        if (point >= end) point = 0;
    }
    return point;
}

int WizardModel::NextOutputPoint(int point) const {
    const int boards = answers.aicbBoards;
    int next = point + 1;
    if (point == 13 && answers.bseBoard) {
        next = 14;
    } else if (point == 13 || point == 29 || point == 37) {
        // On to the AICB boards, past the outputs the Ferrix injectors hold.
        next = boards == 0 ? 38 : 38 + 2 * CountFerrixInjectors();
    }
    if (next >= 20 * boards + 38) return 0;
    return next == 3 ? 30 : next;
}

std::vector<std::string> WizardModel::ApplyToDocument(CVexa3Doc& document) const {
    return WizardResultWriter(*this, document).Write();
}

}  // namespace qs
