#pragma once
#include <cstdint>
#include <optional>
#include <span>

namespace qs {

// One firmware image the program knows: its identifier (the CRC-32 of the image, which the
// device answers to "GP") and the revision it carries.
struct FirmwareIdentity {
    uint32_t identifier;
    float revision;
};

// The firmware images of the controller and of the operator panel. Connecting identifies the
// device by them; the firmware upgrades recognise image files by the same rows.
class DeviceIdentification {
public:
    static constexpr int kControllerKind = 7;
    static constexpr int kOperatorPanelKind = 8;

    static std::span<const FirmwareIdentity> ControllerTable();
    static std::span<const FirmwareIdentity> OperatorPanelTable();

    // The revision of the first row with that identifier; nullopt when the table has none.
    static std::optional<float> Find(std::span<const FirmwareIdentity> table, uint32_t identifier);

    struct Match {
        int deviceKind;  // kControllerKind or kOperatorPanelKind
        float revision;
    };
    // The controller table first, then the operator panel's.
    static std::optional<Match> Identify(uint32_t identifier);
};

}  // namespace qs
