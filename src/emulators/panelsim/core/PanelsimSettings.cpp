#include "emulators/panelsim/core/PanelsimSettings.h"

namespace qs::panelsim {

std::string PanelsimSettings::AddressList() const {
    return profile_.GetString(kSection, "AddressList", "").substr(0, PanelsimCommandLine::kMaxAddressText);
}

bool PanelsimSettings::AllowHotkeys() const { return profile_.GetInt(kSection, "AllowHotkeys", 0) != 0; }

bool PanelsimSettings::SetAddressList(const std::string& list) {
    return profile_.WriteString(kSection, "AddressList", list);
}

bool PanelsimSettings::SetAllowHotkeys(bool on) { return profile_.WriteInt(kSection, "AllowHotkeys", on ? 1 : 0); }

void PanelsimSettings::Apply(const PanelsimCommandLine& line) {
    if (line.port) SetPort(*line.port);
    if (line.addressList) SetAddressList(*line.addressList);
}

}  // namespace qs::panelsim
