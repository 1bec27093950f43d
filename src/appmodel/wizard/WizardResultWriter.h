#pragma once
#include <array>
#include <string>
#include <vector>

#include "appmodel/wizard/WizardModel.h"

namespace qs {

class CVexa3Doc;

// Writes the wizard's answers into a new program-data document: the link settings, the arm
// layout, the pulse inputs and outputs, the analog channels, the digital outputs and inputs
// and the additive records. Values go only through the document's value setters (a code the
// document does not know is passed over). Points and channels are handed out in a fixed order
// until none is left; what finds none is not written and is named in the result.
class WizardResultWriter {
public:
    static constexpr int kPulseInputs = 12;
    static constexpr int kFirstOutputPoint = 3;
    static constexpr int kFirstInputPoint = 6;

    WizardResultWriter(const WizardModel& model, CVexa3Doc& document);
    // One line per function left without a point or channel.
    std::vector<std::string> Write();

private:
    void WriteLinkAndArms();
    void MarkMeterPulseInputs();
    void WriteDensityPulseInputs();
    void WritePulseOutputs();
    void WriteAnalogInputs();
    void WriteAnalogOutputs();
    void WriteValveAndArmOutputs();
    void WriteAdditives();
    void WriteSharedOutputs();
    void WriteInputs();

    // One digital output or input point for a function; arm, meter and product are written
    // where given (>= 0).
    void Output(int function, int arm, int meter = -1, int product = -1);
    void Input(int function, int arm = -1, int meter = -1, int product = -1);
    // The codes of a point from the first of its table (Config 301 inputs, 501 outputs).
    void PointRecord(int firstCode, int point, int function, int arm, int meter, int product);
    // The first free pulse input from 2 to the last one there is, taken; -1 when none is free.
    int TakePulseInput(bool skipSixAndSeven);
    // The lowest (inputs) or highest (outputs) free analog channel, taken; -1 when none is free.
    int TakeAnalogChannel(bool fromTop);
    void AdditiveRecord(int number, int type, int additive);

    void Value(int directory, int number, int instance, int value);
    std::string Named(const char* kind, int code, int function, int arm, int meter) const;

    const WizardModel& model_;
    const WizardAnswers& answers_;
    CVexa3Doc& doc_;
    std::array<bool, kPulseInputs> pulseTaken_{};
    std::array<bool, WizardModel::kMaxAnalogChannels> analogTaken_{};
    int outputPoint_ = kFirstOutputPoint;  // 0: none left
    int inputPoint_ = kFirstInputPoint;    // 0: none left
    std::vector<std::string> unassigned_;
};

}  // namespace qs
