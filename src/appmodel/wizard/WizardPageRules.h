#pragma once
#include <string>
#include <vector>

#include "appmodel/wizard/WizardModel.h"
#include "appmodel/wizard/WizardPageList.h"

namespace qs {

// What each page of the wizard shows, enables and refuses, read from the answers. A page
// calls its Prepare step when shown (it mends answers its lists no longer offer), shows what
// the rules give, stores what its enabled controls hold when left either way, and asks
// RefusalOnNext before going forward.
class WizardPageRules {
public:
    static constexpr const char* kAnalogRequestedMessage = "Analog I/O channels requested exceeds that available (6)";
    static constexpr const char* kAnalogConfiguredMessage = "Analog I/O channels configured exceeds that available (6)";
    static constexpr const char* kMeteredUsedMessage = "Already used all metered injectors. No more can be assigned.";
    static constexpr const char* kMeteredPulseMessage = "No more pulse inputs available for metered injectors.";
    static constexpr const char* kFerrixUsedMessage =
        "Already used maximum number of Ferrix injectors. No more can be assigned.";
    static constexpr const char* kUnassignedMessage =
        "Not enough I/O points or channels were left for these functions; they were not assigned:";
    static constexpr int kMaxMeteredInjectors = 4;
    static constexpr int kFerrixPerBoard = 10;
    static constexpr int kMaxAddress = 99;
    static constexpr int kMaxFrequency = 3500;
    static constexpr int kMaxGeneralPurpose = 99;

    WizardPageRules(WizardModel& model, const WizardPageList& pages);

    // Arm-type page.
    std::string ArmTypeCaption(int arm) const;  // "Arm %d Type:"
    // A type the list no longer offers becomes "not used".
    void PrepareArmType(int arm);
    // Highest injector count the arm may take: what the other arms in use leave.
    int InjectorLimit(int arm) const;
    std::string RemainingText() const;  // "%d of %d Remaining"

    // Arm-detail page.
    std::string ArmDetailCaption(int arm) const;  // "Arm #%d Configuration Detail"
    // Dual pulse and transmitter security hold for the installation and are asked on arm 1's page.
    static bool DualPulseEnabled(int arm) { return arm == 0; }
    bool SecurityEnabled(int arm) const { return arm == 0 && model_.SecurityEnabled(); }
    bool BlockValvesEnabled(int arm) const { return WizardModel::IsSequential(model_.TypeOf(arm)); }
    // A sequential arm's block valves start ticked.
    void PrepareArmDetail(int arm);

    // Meter-run page.
    enum ShareKind { kTemperature, kDensity, kPressure };
    struct ShareItem {
        std::string text;  // "Arm%d Mtr%d"
        int data;          // arm * meter count + meter + 1
    };
    // "Arm #%d Meter Detail", or "Arm #%d Meter %d Detail" on a blending arm of several meters.
    std::string MeterRunCaption(int arm, int meter) const;
    // Earlier meters (of earlier arms in use, then of this arm) with a transducer of their own
    // of that kind.
    std::vector<ShareItem> ShareCandidates(ShareKind kind, int arm, int meter) const;
    // The row a share list selects: the stored share, else the last row; -1 for an empty list.
    static int ShareRow(const std::vector<ShareItem>& items, int share);
    // A share whose list is now empty becomes N/A; a share no longer listed takes the last row.
    void PrepareMeterRun(int arm, int meter);
    // "Freq." while pulse inputs are left, or when the meter already has it.
    bool FrequencyEnabled(int arm, int meter) const;

    // Additive page.
    std::string AdditiveCaption(int additive) const;  // "Additive %d - Arm #%d"
    // A type the list no longer offers (Ferrix without an AICB board) becomes "Not Used".
    void PrepareAdditive(int additive);
    // Meter boxes enabled: none unless the owner arm blends over several meters, then Meter 1-2
    // and the further meters of the arm.
    int MeterBoxesEnabled(int additive) const;
    static bool AdditivePumpEnabled(int type) { return type != WizardAnswers::kFerrix; }

    // Pulse-output page.
    std::vector<std::string> PulseArmTexts() const;               // "Not Used", "Arm %d" ...
    std::vector<std::string> PulseMeterTexts(int armChoice) const;  // "Arm Total Pulses", "Meter %d Pulses" ...
    bool PulseMeterEnabled(int armChoice) const { return PulseMeterTexts(armChoice).size() > 1; }
    // Choices the lists no longer hold go back to the first row; the others stay.
    void PreparePulseOutputs();

    // Confirmation page: "Arm 1: %s" ... with each arm's type as it will be written.
    std::vector<std::string> ConfirmArmLines() const;

    // What going forward from the page refuses, or "" when it may go.
    std::string RefusalOnNext(const WizardPage& page) const;
    // The text telling which functions were left unassigned; "" when none.
    static std::string UnassignedText(const std::vector<std::string>& lines);

private:
    WizardModel& model_;
    const WizardPageList& pages_;
};

}  // namespace qs
