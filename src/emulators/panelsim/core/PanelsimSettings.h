#pragma once
#include <string>

#include "emulators/display/EmulatorSettings.h"
#include "emulators/panelsim/core/PanelsimCommandLine.h"

namespace qs::panelsim {

// Panelsim's stored settings: the application key "Brask Meter", "Duravane III MMI", with the
// arm addresses to poll and whether the PC's keys reach the device, beside what every emulator
// keeps.
class PanelsimSettings : public display::EmulatorSettings {
public:
    static constexpr const char* kAppKey = "Brask Meter/Duravane III MMI";

    // path empty: the file of kAppKey in the configuration folder.
    explicit PanelsimSettings(std::string path = {}) : EmulatorSettings(kAppKey, std::move(path)) {}

    // Decimal addresses separated by ","; a longer text than the command line may give is cut.
    std::string AddressList() const;
    bool AllowHotkeys() const;
    bool SetAddressList(const std::string& list);
    bool SetAllowHotkeys(bool on);

    // Stores the port and the address list the command line names (only those it names).
    void Apply(const PanelsimCommandLine& line);
};

}  // namespace qs::panelsim
