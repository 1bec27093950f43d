#pragma once
#include <string>
#include <vector>

namespace qs {

// The fixed lists of the wizard's pages; a row's index is the answer stored.
class WizardTexts {
public:
    static constexpr int kArmTypes = 13;
    static constexpr int kInjectorTypes = 9;
    static constexpr int kPulseSources = 5;

    // "Arm Not Used", "Straight Product Arm", "2-Product Sequential Blending Arm" ...; empty
    // past the list.
    static std::string ArmTypeText(int type);
    static std::vector<std::string> ArmTypeTexts(int rows);
    // "Not Used" ... "Ferrix": the first `rows` of them.
    static std::vector<std::string> InjectorTypeTexts(int rows);
    // "IV", "GV", "GST", "GSV", "Mass"
    static std::vector<std::string> PulseSourceTexts();
};

}  // namespace qs
