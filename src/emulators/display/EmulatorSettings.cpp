#include "emulators/display/EmulatorSettings.h"

#include "platform/Paths.h"

namespace qs::display {

EmulatorSettings::EmulatorSettings(const std::string& appKey, std::string path)
    : profile_(path.empty() ? paths::SettingsFile(appKey) : std::move(path)) {}

int EmulatorSettings::Port() const { return profile_.GetInt(kSection, "Port", kDefaultPort); }

bool EmulatorSettings::CustomWindowRegion() const { return profile_.GetInt(kSection, "CustomWindowRegion", 0) != 0; }

bool EmulatorSettings::Position(int& x, int& y) const {
    x = profile_.GetInt(kSection, "XPosition", kNoPosition);
    y = profile_.GetInt(kSection, "YPosition", kNoPosition);
    return x >= kLeastPosition && y >= kLeastPosition && x <= kMostPosition && y <= kMostPosition;
}

bool EmulatorSettings::SetPort(int port) { return profile_.WriteInt(kSection, "Port", port); }

bool EmulatorSettings::SetCustomWindowRegion(bool on) {
    return profile_.WriteInt(kSection, "CustomWindowRegion", on ? 1 : 0);
}

bool EmulatorSettings::SetPosition(int x, int y) {
    return profile_.WriteInt(kSection, "XPosition", x) && profile_.WriteInt(kSection, "YPosition", y);
}

}  // namespace qs::display
