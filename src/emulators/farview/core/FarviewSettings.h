#pragma once
#include <string>

#include "emulators/farview/core/FarviewCommandLine.h"
#include "platform/IniProfile.h"

namespace qs::farview {

// Farview's stored settings: section "Settings" of the application key "Brask Meter",
// "Duravane III Remote Display". Every value read is bounded; each write goes to the file at
// once (through a temporary file), as a registry write would.
class FarviewSettings {
public:
    static constexpr const char* kAppKey = "Brask Meter/Duravane III Remote Display";
    static constexpr const char* kSection = "Settings";
    static constexpr int kDefaultPort = 1;
    static constexpr const char* kDefaultAddress = "192.168.0.1";
    // A stored position is used only when both values are at least this.
    static constexpr int kLeastPosition = -9999;
    static constexpr int kNoPosition = -10000;
    // Nor when either is beyond what a window system can place.
    static constexpr int kMostPosition = 32767;
    // Longer address texts are not read (they cannot be an IPv4 address).
    static constexpr size_t kMaxAddressLength = 64;

    // path empty: the file of kAppKey in the configuration folder.
    explicit FarviewSettings(std::string path = {});

    const std::string& Path() const { return profile_.Path(); }

    int Port() const;
    std::string Address() const;
    bool CustomWindowRegion() const;
    // Both stored coordinates, or false when the window should go where the system puts it.
    bool Position(int& x, int& y) const;

    bool SetPort(int port);
    bool SetAddress(const std::string& address);
    bool SetCustomWindowRegion(bool on);
    bool SetPosition(int x, int y);

    // Stores the port and address the command line names (only those it names).
    void Apply(const FarviewCommandLine& line);

private:
    IniProfile profile_;
};

}  // namespace qs::farview
