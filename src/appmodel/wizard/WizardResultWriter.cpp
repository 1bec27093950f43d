#include "appmodel/wizard/WizardResultWriter.h"

#include <algorithm>
#include <utility>

#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "platform/SafeFormat.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

using A = WizardAnswers;

constexpr int kConfig = CDirectory::kConfig;
constexpr int kSystem = CDirectory::kSystem;
constexpr int kMeter = CDirectory::kMeter;

// Codes whose option lists name the functions, for the lines of what found no point.
constexpr int kPulseInputFunctionCode = 103;
constexpr int kInputFunctionCode = 301;
constexpr int kOutputFunctionCode = 501;
constexpr int kAnalogFunctionCode = 901;
constexpr int kAdditiveTypeCode = 810;

// Digital output functions.
enum Out : int { kPump = 1, kValveUp = 2, kValveDown = 3, kAlarm = 4, kAlarm2 = 5, kGeneralOut = 6, kBlockValve = 7,
                 kAdditivePump = 9, kAdditiveSolenoid = 33, kMeteredSolenoid = 57 };
// Digital input functions.
enum In : int { kSecurity = 1, kSecurity2 = 2, kPermissive = 3, kPermissive2 = 4, kHighFlow = 5, kRemoteStart = 6,
                kRemoteStopAll = 7, kRemoteStop = 8, kReset = 9, kGeneralIn = 10, kTicketTray = 11, kFeedback = 12,
                kAdditiveFeedback = 13, kSystemPermissive = 37 };
// Pulse-input functions and analog channel functions.
constexpr int kDensityFrequency = 1;
constexpr int kMeteredInjectorInput = 2;
enum Analog : int { kTemperatureIn = 1, kDensityIn = 2, kPressureIn = 3, kValveOut = 4, kGeneralAnalogOut = 6 };
constexpr int kAnalogOutputSignal = 4;  // 4-20mA output

// The arm-layout code of Config 2i+2 and the products of an arm type.
struct Layout {
    int code;
    int products;
};
Layout LayoutOf(int type) {
    if (type == A::kStraight) return {0, 1};
    if (WizardModel::IsSequential(type)) return {1, type};
    if (type == A::kSideStream) return {3, 2};  // and a 2-product ratio arm from here on
    if (type > A::kSideStream && type <= A::kLastArmType) return {2, type - 6};
    return {0, 0};
}

}  // namespace

WizardResultWriter::WizardResultWriter(const WizardModel& model, CVexa3Doc& document)
    : model_(model), answers_(model.answers), doc_(document) {}

std::vector<std::string> WizardResultWriter::Write() {
    WriteLinkAndArms();
    MarkMeterPulseInputs();
    WriteDensityPulseInputs();
    WritePulseOutputs();
    WriteAnalogInputs();
    WriteAnalogOutputs();
    WriteValveAndArmOutputs();
    WriteAdditives();
    WriteSharedOutputs();
    WriteInputs();
    return unassigned_;
}

void WizardResultWriter::Value(int directory, int number, int instance, int value) {
    doc_.SetParamValue(directory, number, instance, value);
}

std::string WizardResultWriter::Named(const char* kind, int code, int function, int arm, int meter) const {
    std::string name;
    if (const CDirectory* d = doc_.FindDirectory(code == kAdditiveTypeCode ? kSystem : kConfig))
        if (const CParam* p = d->FindParam(code)) name = p->OptionText(function);
    if (name.empty()) name = "function " + std::to_string(function);
    std::string line = std::string(kind) + ": " + name;
    if (arm >= 0) line += ", arm " + std::to_string(arm + 1);
    if (meter >= 0) line += " meter " + std::to_string(meter + 1);
    return line;
}

void WizardResultWriter::WriteLinkAndArms() {
    if (answers_.portChoice != -1) doc_.SetPortIndex(answers_.portChoice);
    doc_.SetIpv4(answers_.ipv4);
    if (answers_.armAddress[0] >= 0) doc_.SetBaseAddress(answers_.armAddress[0]);
    int active = 0;
    const int arms = std::min(doc_.ArmCount(), A::kMaxArms);
    for (int a = 0; a < arms; ++a) {
        const int address = answers_.armAddress[static_cast<size_t>(a)];
        if (model_.TypeOf(a) != A::kArmNotUsed) {
            ++active;
            if (address >= 0) doc_.SetArmAddress(a, address);
            Value(kSystem, 701 + a, 0, address);
        } else if (a > 0) {
            // Arm 1's address is also the address the document connects to: it stays.
            doc_.SetArmAddress(a, 0);
        }
    }
    Value(kConfig, 1, 0, active);
    for (int i = 0; i < active; ++i) {
        const Layout layout = LayoutOf(model_.TypeOf(i));
        Value(kConfig, 2 * i + 2, 0, layout.code);
        Value(kConfig, 2 * i + 3, 0, layout.products);
    }
    Value(kConfig, 20, 0, model_.TotalInjectors());
    Value(kConfig, 101, 0, answers_.dualPulse ? 1 : 0);
    Value(kConfig, 102, 0, model_.SecurityInEffect() ? 1 : 0);
}

void WizardResultWriter::MarkMeterPulseInputs() {
    const int meters = std::min(model_.TotalMeters(), A::kMaxMeters);
    auto take = [this](int input) {
        if (input >= 0 && input < kPulseInputs) pulseTaken_[static_cast<size_t>(input)] = true;
    };
    if (meters == 3 && !answers_.bseBoard) {
        for (int i : {0, 1, 2}) take(i);
    } else if (meters > 4) {
        if (answers_.dualPulse) {
            pulseTaken_.fill(true);
            if (meters == 5) pulseTaken_[8] = pulseTaken_[11] = false;
        } else {
            constexpr int kOrder[] = {0, 1, 2, 6, 7, 8, 9, 10, 11};
            for (int n = 0; n < meters; ++n) take(kOrder[n]);
        }
    } else if (answers_.dualPulse) {
        // Each meter its A and B trains, and the security input when checked.
        for (int n = 0; n < meters; ++n) {
            take(3 * n);
            take(3 * n + 1);
            if (model_.SecurityInEffect()) take(3 * n + 2);
        }
    } else {
        constexpr int kOrder[] = {0, 1, 6, 7};
        for (int n = 0; n < meters; ++n) take(kOrder[n]);
    }
}

int WizardResultWriter::TakePulseInput(bool skipSixAndSeven) {
    const int last = model_.PulseInputsAvailable() - 1;
    for (int j = 2; j <= last && j < kPulseInputs; ++j) {
        if (skipSixAndSeven && (j == 6 || j == 7)) continue;
        if (pulseTaken_[static_cast<size_t>(j)]) continue;
        pulseTaken_[static_cast<size_t>(j)] = true;
        return j;
    }
    return -1;
}

void WizardResultWriter::WriteDensityPulseInputs() {
    for (int a = 0; a < model_.ArmsInUse(); ++a) {
        for (int m = 0; m < model_.MetersOfArm(a); ++m) {
            if (answers_.meters[static_cast<size_t>(a)][static_cast<size_t>(m)].density != A::kRtdOrFrequency) continue;
            const int j = TakePulseInput(true);
            if (j < 0) {
                unassigned_.push_back(Named("Pulse input", kPulseInputFunctionCode, kDensityFrequency, a, m));
                continue;
            }
            Value(kConfig, 4 * j + 95, 0, kDensityFrequency);
            Value(kConfig, 4 * j + 96, 0, a);
            Value(kConfig, 4 * j + 97, 0, m);
        }
    }
}

void WizardResultWriter::WritePulseOutputs() {
    for (int o = 0; o < A::kPulseOutputs; ++o) {
        const A::PulseOutput& p = answers_.pulseOutputs[static_cast<size_t>(o)];
        // The arm list holds the arms in use; the meter list their meters on blending arms only.
        const int arm = p.arm >= 1 && p.arm <= model_.ArmsInUse() ? p.arm : 0;
        const bool meters = arm > 0 && model_.TypeOf(arm - 1) >= A::kSideStream;
        const int meter = meters && p.meter >= 0 && p.meter <= model_.MetersOfArm(arm - 1) ? p.meter : 0;
        const int base = 201 + 5 * o;
        const std::string perUnit = SafeFormat("%7.3f", FormatArg::Real(p.pulsesPerUnit)).value_or("");
        Value(kConfig, base, 0, arm);
        Value(kConfig, base + 1, 0, meter);
        doc_.SetParamText(kConfig, base + 2, 0, perUnit);
        Value(kConfig, base + 3, 0, std::clamp(p.source, 0, 4));
        Value(kConfig, base + 4, 0, std::clamp(p.maxFrequency, 0, 3500));
    }
}

int WizardResultWriter::TakeAnalogChannel(bool fromTop) {
    for (int n = 0; n < WizardModel::kMaxAnalogChannels; ++n) {
        const int c = fromTop ? WizardModel::kMaxAnalogChannels - 1 - n : n;
        if (analogTaken_[static_cast<size_t>(c)]) continue;
        analogTaken_[static_cast<size_t>(c)] = true;
        return c;
    }
    return -1;
}

void WizardResultWriter::WriteAnalogInputs() {
    const int meterCount = doc_.MeterCount();
    struct Kind {
        int function;
        int A::MeterRun::*choice;
        int A::MeterRun::*share;
        int lastReal;
        int shared;
        int shareCode;
    };
    constexpr Kind kKinds[] = {
        {kTemperatureIn, &A::MeterRun::temperature, &A::MeterRun::temperatureShare, A::kRtdOrFrequency, A::kShared, 402},
        {kDensityIn, &A::MeterRun::density, &A::MeterRun::densityShare, A::kVoltage, A::kShared, 403},
        {kPressureIn, &A::MeterRun::pressure, &A::MeterRun::pressureShare, A::kVoltage, A::kPressureShared, 501},
    };
    for (const Kind& kind : kKinds) {
        for (int a = 0; a < model_.ArmsInUse(); ++a) {
            for (int m = 0; m < model_.MetersOfArm(a); ++m) {
                const A::MeterRun& run = answers_.meters[static_cast<size_t>(a)][static_cast<size_t>(m)];
                const int choice = run.*kind.choice;
                if (choice == kind.shared) {
                    Value(kMeter, kind.shareCode, a * meterCount + m, run.*kind.share);
                    continue;
                }
                if (choice < A::kCurrent || choice > kind.lastReal) continue;
                const int c = TakeAnalogChannel(false);
                if (c < 0) {
                    unassigned_.push_back(Named("Analog channel", kAnalogFunctionCode, kind.function, a, m));
                    continue;
                }
                Value(kConfig, 901 + 10 * c, 0, kind.function);
                Value(kConfig, 902 + 10 * c, 0, a);
                Value(kConfig, 903 + 10 * c, 0, m);
                Value(kConfig, 905 + 10 * c, 0, choice);
            }
        }
    }
}

void WizardResultWriter::WriteAnalogOutputs() {
    auto output = [this](int function, int arm, int meter) {
        const int c = TakeAnalogChannel(true);
        if (c < 0) {
            unassigned_.push_back(Named("Analog channel", kAnalogFunctionCode, function, arm, meter));
            return;
        }
        const int base = 901 + 10 * c;
        Value(kConfig, base, 0, function);
        Value(kConfig, base + 1, 0, std::max(arm, 0));
        Value(kConfig, base + 2, 0, std::max(meter, 0));
        Value(kConfig, base + 4, 0, kAnalogOutputSignal);
    };
    const int shared = std::clamp(answers_.shared.analogOutputs, 0, WizardModel::kMaxAnalogChannels + 1);
    for (int i = 0; i < shared; ++i) output(kGeneralAnalogOut, -1, -1);
    for (int a = 0; a < model_.ArmsInUse(); ++a)
        for (int m = 0; m < model_.MetersOfArm(a); ++m)
            if (answers_.meters[static_cast<size_t>(a)][static_cast<size_t>(m)].valve == A::kValveAnalog)
                output(kValveOut, a, m);
}

void WizardResultWriter::PointRecord(int firstCode, int point, int function, int arm, int meter, int product) {
    const int code = firstCode + 4 * point;
    Value(kConfig, code, 0, function);
    if (arm >= 0) Value(kConfig, code + 1, 0, arm);
    if (meter >= 0) Value(kConfig, code + 2, 0, meter);
    if (product >= 0) Value(kConfig, code + 3, 0, product);
}

void WizardResultWriter::Output(int function, int arm, int meter, int product) {
    if (outputPoint_ == 0) {
        unassigned_.push_back(Named("Digital output", kOutputFunctionCode, function, arm, meter));
        return;
    }
    PointRecord(kOutputFunctionCode, outputPoint_, function, arm, meter, product);
    outputPoint_ = model_.NextOutputPoint(outputPoint_);
}

void WizardResultWriter::Input(int function, int arm, int meter, int product) {
    if (inputPoint_ == 0) {
        unassigned_.push_back(Named("Digital input", kInputFunctionCode, function, arm, meter));
        return;
    }
    PointRecord(kInputFunctionCode, inputPoint_, function, arm, meter, product);
    model_.NextIoPoint(inputPoint_);
}

void WizardResultWriter::WriteValveAndArmOutputs() {
    const int meterCount = doc_.MeterCount();
    for (int a = 0; a < model_.ArmsInUse(); ++a) {
        for (int m = 0; m < model_.MetersOfArm(a); ++m) {
            const int valve = answers_.meters[static_cast<size_t>(a)][static_cast<size_t>(m)].valve;
            if (valve != A::kValveAnalog) {
                Output(kValveUp, a, m);
                Output(kValveDown, a, m);
            }
            Value(kMeter, 201, a * meterCount + m, std::clamp(valve, 0, 2));
        }
    }
    for (int a = 0; a < model_.ArmsInUse(); ++a) {
        if (answers_.productPump[static_cast<size_t>(a)])
            for (int m = 0; m < model_.MetersOfArm(a); ++m) Output(kPump, a, m);
        if (model_.BlockValveOutputsOf(a))
            for (int p = 0; p < LayoutOf(model_.TypeOf(a)).products; ++p) Output(kBlockValve, a, 0, p);
    }
}

void WizardResultWriter::AdditiveRecord(int number, int type, int additive) {
    if (number >= model_.AdditiveCount()) {
        unassigned_.push_back(Named("Additive", kAdditiveTypeCode, type, model_.AdditiveOwner(additive), -1));
        return;
    }
    const int owner = model_.AdditiveOwner(additive);
    Value(kSystem, 810 + 3 * number, 0, type);
    Value(kSystem, 811 + 3 * number, 0, owner);
    if (model_.TypeOf(owner) >= A::kSideStream) Value(kSystem, 812 + 3 * number, 0, model_.MeterMaskOf(additive));
}

void WizardResultWriter::WriteAdditives() {
    const int total = model_.TotalInjectors();
    int number = 0;
    // Metered injectors first: their solenoids and pulse inputs are numbered from 1.
    for (int k = 0; k < total; ++k) {
        if (model_.AdditiveTypeOf(k) != A::kMetered) continue;
        const int owner = model_.AdditiveOwner(k);
        Output(kMeteredSolenoid + number, owner);
        if (model_.AdditivePumpOf(k)) Output(kAdditivePump + number, owner);
        const int j = TakePulseInput(false);
        if (j < 0) {
            unassigned_.push_back(Named("Pulse input", kPulseInputFunctionCode, kMeteredInjectorInput + number, owner, -1));
        } else {
            Value(kConfig, 4 * j + 95, 0, kMeteredInjectorInput + number);
            Value(kConfig, 4 * j + 96, 0, owner);
        }
        AdditiveRecord(number, A::kMetered, k);
        ++number;
    }
    for (int k = 0; k < total; ++k) {
        const int type = model_.AdditiveTypeOf(k);
        if (type < A::kPiston || type >= A::kMetered) continue;
        const int owner = model_.AdditiveOwner(k);
        if (type == A::kPiston || type == A::kPistonFeedback) Output(kAdditiveSolenoid + number, owner);
        if (type == A::kPistonFeedback) Input(kAdditiveFeedback + number);
        if (model_.AdditivePumpOf(k)) Output(kAdditivePump + number, owner);
        AdditiveRecord(number, type, k);
        ++number;
    }
    // Ferrix injectors come after the first four records.
    number = std::max(number, 4);
    for (int k = 0; k < total; ++k) {
        if (model_.AdditiveTypeOf(k) != A::kFerrix) continue;
        AdditiveRecord(number, A::kFerrix, k);
        ++number;
    }
}

void WizardResultWriter::WriteSharedOutputs() {
    const A::SharedIo& s = answers_.shared;
    if (s.alarm) Output(kAlarm, -1);
    if (s.alarm2) Output(kAlarm2, -1);
    const int general = std::clamp(s.generalOutputs, 0, 20 * 2 + 38);
    for (int i = 0; i < general; ++i) Output(kGeneralOut, -1);
}

void WizardResultWriter::WriteInputs() {
    for (int a = 0; a < model_.ArmsInUse(); ++a) {
        if (model_.BlockValveFeedbackOf(a))
            for (int p = 0; p < LayoutOf(model_.TypeOf(a)).products; ++p) Input(kFeedback, a, 0, p);
        const A::ArmInputs& in = answers_.armInputs[static_cast<size_t>(a)];
        const std::pair<bool, int> rows[] = {{in.highFlow, kHighFlow},       {in.remoteStart, kRemoteStart},
                                             {in.remoteStop, kRemoteStop},   {in.transactionReset, kReset},
                                             {in.ticketTray, kTicketTray},   {in.permissive, kPermissive},
                                             {in.permissive2, kPermissive2}};
        for (const auto& [set, function] : rows)
            if (set) Input(function, a);
    }
    const A::SharedIo& s = answers_.shared;
    if (s.securitySwitch) Input(kSecurity);
    if (s.securitySwitch2) Input(kSecurity2);
    if (s.remoteStopAll) Input(kRemoteStopAll);
    for (int i = 0; i < 3; ++i)
        if (s.systemPermissive[static_cast<size_t>(i)]) Input(kSystemPermissive + i);
    const int general = std::clamp(s.generalInputs, 0, 10 * 2 + 23);
    for (int i = 0; i < general; ++i) Input(kGeneralIn);
}

}  // namespace qs
