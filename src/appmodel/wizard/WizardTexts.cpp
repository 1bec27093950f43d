#include "appmodel/wizard/WizardTexts.h"

#include <algorithm>

namespace qs {

std::string WizardTexts::ArmTypeText(int type) {
    if (type == 0) return "Arm Not Used";
    if (type == 1) return "Straight Product Arm";
    if (type >= 2 && type <= 6) return std::to_string(type) + "-Product Sequential Blending Arm";
    if (type == 7) return "Side-Stream Blending Arm";
    if (type >= 8 && type < kArmTypes) return std::to_string(type - 6) + "-Product Ratio Blending Arm";
    return {};
}

std::vector<std::string> WizardTexts::ArmTypeTexts(int rows) {
    std::vector<std::string> texts;
    for (int t = 0; t < std::min(rows, kArmTypes); ++t) texts.push_back(ArmTypeText(t));
    return texts;
}

std::vector<std::string> WizardTexts::InjectorTypeTexts(int rows) {
    static const char* const kTexts[kInjectorTypes] = {"Not Used", "Piston",     "Piston w/ Feedback",
                                                       "Brennic",  "Veltra",     "Hal-Den",
                                                       "Brask Smart", "Metered Injector", "Ferrix"};
    std::vector<std::string> texts;
    for (int t = 0; t < std::min(rows, kInjectorTypes); ++t) texts.emplace_back(kTexts[t]);
    return texts;
}

std::vector<std::string> WizardTexts::PulseSourceTexts() { return {"IV", "GV", "GST", "GSV", "Mass"}; }

}  // namespace qs
