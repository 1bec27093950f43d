#include "programdata/AppOptions.h"

#include <algorithm>

namespace qs {

namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kParamView = "ParamView";
constexpr const char* kParamPrint = "ParamPrint";

bool ReadFlag(const IniProfile& profile, const char* section, const char* key, bool defaultValue) {
    return profile.GetInt(section, key, defaultValue ? 1 : 0) != 0;
}

}  // namespace

const std::array<const char*, AppOptions::kLevelChoiceCount>& AppOptions::LevelChoices() {
    static const std::array<const char*, kLevelChoiceCount> texts = {
        "Print All", "Level 2 and above", "Level 3 and above", "Level 4 and above", "Level 5",
    };
    return texts;
}

void AppOptions::Load(const IniProfile& profile) {
    const AppOptions defaults;
    MRUFileCount = std::clamp(profile.GetInt(kGeneral, "MRUFileCount", defaults.MRUFileCount), 0, kMaxMRUFileCount);
    AutoConnect = ReadFlag(profile, kGeneral, "AutoConnect", defaults.AutoConnect);
    ConfirmWrites = ReadFlag(profile, kGeneral, "ConfirmWrites", defaults.ConfirmWrites);
    ShowSecLvl = ReadFlag(profile, kParamView, "ShowSecLvl", defaults.ShowSecLvl);
    ShowUnused = ReadFlag(profile, kParamView, "ShowUnused", defaults.ShowUnused);
    PrintShowSecLvl = ReadFlag(profile, kParamPrint, "ShowSecLvl", defaults.PrintShowSecLvl);
    SuppressBelowLvl = profile.GetInt(kParamPrint, "SuppressBelowLvl", defaults.SuppressBelowLvl);
    // A row the list does not have would select nothing and hide codes nobody chose to hide.
    if (SuppressBelowLvl < 0 || SuppressBelowLvl >= kLevelChoiceCount) SuppressBelowLvl = 0;
    SuppressUnused = ReadFlag(profile, kParamPrint, "SuppressUnused", defaults.SuppressUnused);
}

bool AppOptions::Save(IniProfile& profile) const {
    // Every key is written even when an earlier one failed, so one bad write loses no more.
    bool ok = profile.WriteInt(kGeneral, "MRUFileCount", MRUFileCount);
    ok &= profile.WriteInt(kGeneral, "AutoConnect", AutoConnect ? 1 : 0);
    ok &= profile.WriteInt(kGeneral, "ConfirmWrites", ConfirmWrites ? 1 : 0);
    ok &= profile.WriteInt(kParamView, "ShowSecLvl", ShowSecLvl ? 1 : 0);
    ok &= profile.WriteInt(kParamView, "ShowUnused", ShowUnused ? 1 : 0);
    ok &= profile.WriteInt(kParamPrint, "ShowSecLvl", PrintShowSecLvl ? 1 : 0);
    ok &= profile.WriteInt(kParamPrint, "SuppressBelowLvl", SuppressBelowLvl);
    ok &= profile.WriteInt(kParamPrint, "SuppressUnused", SuppressUnused ? 1 : 0);
    return ok;
}

}  // namespace qs
