#include "emulators/farview/core/FarviewSettings.h"

#include "platform/Paths.h"

namespace qs::farview {

FarviewSettings::FarviewSettings(std::string path)
    : profile_(path.empty() ? paths::SettingsFile(kAppKey) : std::move(path)) {}

int FarviewSettings::Port() const { return profile_.GetInt(kSection, "Port", kDefaultPort); }

std::string FarviewSettings::Address() const {
    std::string address = profile_.GetString(kSection, "IPAddress", kDefaultAddress);
    return address.size() > kMaxAddressLength ? std::string(kDefaultAddress) : address;
}

bool FarviewSettings::CustomWindowRegion() const { return profile_.GetInt(kSection, "CustomWindowRegion", 0) != 0; }

bool FarviewSettings::Position(int& x, int& y) const {
    x = profile_.GetInt(kSection, "XPosition", kNoPosition);
    y = profile_.GetInt(kSection, "YPosition", kNoPosition);
    return x >= kLeastPosition && y >= kLeastPosition && x <= kMostPosition && y <= kMostPosition;
}

bool FarviewSettings::SetPort(int port) { return profile_.WriteInt(kSection, "Port", port); }

bool FarviewSettings::SetAddress(const std::string& address) { return profile_.WriteString(kSection, "IPAddress", address); }

bool FarviewSettings::SetCustomWindowRegion(bool on) { return profile_.WriteInt(kSection, "CustomWindowRegion", on ? 1 : 0); }

bool FarviewSettings::SetPosition(int x, int y) {
    return profile_.WriteInt(kSection, "XPosition", x) && profile_.WriteInt(kSection, "YPosition", y);
}

void FarviewSettings::Apply(const FarviewCommandLine& line) {
    if (line.port) SetPort(*line.port);
    if (line.address) SetAddress(*line.address);
}

}  // namespace qs::farview
