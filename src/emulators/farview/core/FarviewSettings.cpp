#include "emulators/farview/core/FarviewSettings.h"

namespace qs::farview {

std::string FarviewSettings::Address() const {
    std::string address = profile_.GetString(kSection, "IPAddress", kDefaultAddress);
    return address.size() > kMaxAddressLength ? std::string(kDefaultAddress) : address;
}

bool FarviewSettings::SetAddress(const std::string& address) { return profile_.WriteString(kSection, "IPAddress", address); }

void FarviewSettings::Apply(const FarviewCommandLine& line) {
    if (line.port) SetPort(*line.port);
    if (line.address) SetAddress(*line.address);
}

}  // namespace qs::farview
