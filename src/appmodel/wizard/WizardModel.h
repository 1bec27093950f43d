#pragma once
#include <string>
#include <vector>

#include "appmodel/wizard/WizardAnswers.h"

namespace qs {

class CVexa3Doc;

// The new-device wizard without its windows: the answers, the controller's I/O resources they
// take and leave, the limit check run when a page is left forward, and the numbering of the
// digital points the result writer hands out.
//
// Answers of controls that are skipped or disabled are kept as they are, so a default or an
// earlier choice comes back when the control does; the counts, the checks and the result read
// only what is in use: the arms before the first arm not used (the first two without a
// second display), the meters of each such arm's type, the additives below the injector
// total, and the answers of the controls enabled for them.
class WizardModel {
public:
    static constexpr int kMaxAnalogChannels = 6;

    // counts: the new document's arms, meters per arm and additives (at most the answers' arrays)
    WizardModel(int armCount, int meterCount, int additiveCount);

    WizardAnswers answers;

    int ArmCount() const { return armCount_; }
    int MeterCount() const { return meterCount_; }
    int AdditiveCount() const { return additiveCount_; }

    // Meters of an arm type: 0 not used, 1 straight and sequential, 2 side-stream, type - 6 ratio.
    static int MetersOfType(int type);
    static bool IsSequential(int type) { return type >= 2 && type <= 6; }
    // The arms in use are the first ArmsInUse().
    int ArmsInUse() const;
    bool ArmInUse(int arm) const { return arm >= 0 && arm < ArmsInUse(); }
    // The arm's type while in use, else 0.
    int TypeOf(int arm) const;
    int MetersOfArm(int arm) const { return MetersOfType(TypeOf(arm)); }
    // An arm set to "not used" takes every later arm with it (the later pages are skipped and
    // nothing after a gap could be configured).
    void SetArmType(int arm, int type);

    // Resources.
    int TotalMeters() const;
    int TotalInjectors() const;
    int CountMeteredInjectors() const;
    int CountFerrixInjectors() const;
    int InputsAvailable() const;
    int CountInputsUsed() const;
    int OutputsAvailable() const;
    int CountOutputsUsed() const;
    int PulseInputsAvailable() const;
    int CountPulseInputsUsed() const;
    int CountAnalogChannels() const;
    // "%d of %d Digital Inputs Used", "%d of %d Digital Outputs Used"
    std::string InputsUsedText() const;
    std::string OutputsUsedText() const;

    // The digital input and output limits; false with the refusal to show.
    bool CheckIoLimits(std::string* refusal) const;
    // The digital input point after `point`, also stored there; 0 when none is left.
    int NextIoPoint(int& point) const;
    // The digital output point after `point`; 0 when none is left.
    int NextOutputPoint(int point) const;

    // Answers as their enabled controls give them.
    // The transmitter-security box of arm 1's page: only with dual pulse transmitters and
    // fewer than 3 meters (5 with a BSE board).
    bool SecurityEnabled() const;
    bool SecurityInEffect() const { return answers.transmitterSecurity && SecurityEnabled(); }
    // Block valves exist only on sequential blending arms.
    bool BlockValveOutputsOf(int arm) const;
    bool BlockValveFeedbackOf(int arm) const;
    // The arm that owns an additive: arms own as many additives as their injector count, in
    // arm order. -1 for an additive past the injectors in use.
    int AdditiveOwner(int additive) const;
    // The additive's type while in use, else 0.
    int AdditiveTypeOf(int additive) const;
    // A pump output of an injector that has one (not of a Ferrix or an unused additive).
    bool AdditivePumpOf(int additive) const;
    // The meters of a blending owner arm the additive is plumbed to.
    int MeterMaskOf(int additive) const;
    // Injector types offered: "Ferrix" only with an AICB board.
    int OfferedInjectorTypes() const;

    // Writes the answers into a new document: its link settings and its program codes, only
    // through the document's value setters. Returns the functions that found no I/O point or
    // channel left, one line each (none when the limits were kept).
    std::vector<std::string> ApplyToDocument(CVexa3Doc& document) const;

private:
    int armCount_;
    int meterCount_;
    int additiveCount_;
};

}  // namespace qs
