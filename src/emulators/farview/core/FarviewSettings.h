#pragma once
#include <string>

#include "emulators/display/EmulatorSettings.h"
#include "emulators/farview/core/FarviewCommandLine.h"

namespace qs::farview {

// Farview's stored settings: the application key "Brask Meter", "Duravane III Remote Display",
// with the device's IPv4 address beside what every emulator keeps.
class FarviewSettings : public display::EmulatorSettings {
public:
    static constexpr const char* kAppKey = "Brask Meter/Duravane III Remote Display";
    static constexpr const char* kDefaultAddress = "192.168.0.1";
    // Longer address texts are not read (they cannot be an IPv4 address).
    static constexpr size_t kMaxAddressLength = 64;

    // path empty: the file of kAppKey in the configuration folder.
    explicit FarviewSettings(std::string path = {}) : EmulatorSettings(kAppKey, std::move(path)) {}

    std::string Address() const;
    bool SetAddress(const std::string& address);

    // Stores the port and address the command line names (only those it names).
    void Apply(const FarviewCommandLine& line);
};

}  // namespace qs::farview
