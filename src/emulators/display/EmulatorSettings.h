#pragma once
#include <string>

#include "platform/IniProfile.h"

namespace qs::display {

// What both emulators keep in section "Settings" of their application key under "Brask
// Meter": the port, the frameless window and the window's place. Every value read is bounded;
// each write goes to the file at once (through a temporary file), as a registry write would.
class EmulatorSettings {
public:
    static constexpr const char* kSection = "Settings";
    static constexpr int kDefaultPort = 1;
    // A stored position is used only when both values are at least this.
    static constexpr int kLeastPosition = -9999;
    static constexpr int kNoPosition = -10000;
    // Nor when either is beyond what a window system can place.
    static constexpr int kMostPosition = 32767;

    // path empty: the file of `appKey` in the configuration folder.
    EmulatorSettings(const std::string& appKey, std::string path);
    virtual ~EmulatorSettings() = default;

    const std::string& Path() const { return profile_.Path(); }

    int Port() const;
    bool CustomWindowRegion() const;
    // Both stored coordinates, or false when the window should go where the system puts it.
    bool Position(int& x, int& y) const;

    bool SetPort(int port);
    bool SetCustomWindowRegion(bool on);
    bool SetPosition(int x, int y);

protected:
    IniProfile profile_;
};

}  // namespace qs::display
