#include "programdata/DeviceIdentification.h"

#include <array>

namespace qs {

namespace {

// In the order the device's firmware was released; two 11.00 controller images exist.
constexpr std::array<FirmwareIdentity, 62> kController = {{
    {0x7219241C, 0.00f}, {0x17B1E9BA, 1.00f}, {0x542837D9, 2.00f}, {0x5E58C136, 3.00f},
    {0x9F945FF9, 4.00f}, {0xB890DC8B, 5.00f}, {0x81C63998, 6.00f}, {0x0A770D77, 7.00f},
    {0x4C3DED17, 8.00f}, {0x6D995500, 9.00f}, {0x0D1D306B, 10.00f}, {0xCE8E6B14, 10.01f},
    {0xD5758A0B, 10.02f}, {0xF534E0BD, 10.03f}, {0x89D0C155, 10.04f}, {0x757FAF9D, 10.05f},
    {0x2C7780AC, 10.06f}, {0xA06EC317, 10.07f}, {0x8D3CC526, 10.08f}, {0x6FD72F79, 10.09f},
    {0xC3ED4A3C, 10.10f}, {0x9EFE1C03, 10.11f}, {0x72DCAB5F, 10.12f}, {0x066B0685, 10.13f},
    {0x283E6220, 10.14f}, {0x43461131, 10.15f}, {0x2F22BF88, 10.16f}, {0x6D3503E1, 10.17f},
    {0xFE7B988F, 10.18f}, {0x91F203F6, 10.19f}, {0x907E5FF2, 10.20f}, {0x5C660D11, 10.21f},
    {0x132C0AB1, 10.22f}, {0x32DCFA8C, 10.23f}, {0x69399D9E, 11.00f}, {0x8ECAE4A6, 11.00f},
    {0xDBF11305, 11.01f}, {0xF98AEB7D, 11.02f}, {0x827D805E, 11.03f}, {0x6CD50080, 11.04f},
    {0x318B6DA2, 11.05f}, {0xD81DA5DD, 11.06f}, {0x3914EE61, 11.07f}, {0x00EB75B4, 11.08f},
    {0x48D3BAB4, 11.09f}, {0xA9B2A7EB, 11.10f}, {0xB2994364, 11.11f}, {0x3D0B9CDC, 11.12f},
    {0xFF0FFE41, 11.13f}, {0xA82F79C7, 11.14f}, {0x42DBD4E1, 11.15f}, {0x0965E8EA, 11.16f},
    {0x9F28307D, 11.17f}, {0x9AF73032, 11.18f}, {0x711184F2, 11.19f}, {0x7685973E, 11.20f},
    {0xD3C9837C, 11.21f}, {0xC9C158CB, 11.22f}, {0xC35D60D3, 11.23f}, {0x61550C74, 11.24f},
    {0x2AF16B7A, 11.25f}, {0x0A463B8B, 11.26f},
}};

constexpr std::array<FirmwareIdentity, 26> kOperatorPanel = {{
    {0x72F9F00F, 9.00f}, {0x5CFB4707, 10.00f}, {0x86AB945A, 10.01f}, {0x227DC101, 10.02f},
    {0x24ECCFD1, 10.03f}, {0xB044D65A, 10.04f}, {0x4578C07A, 10.05f}, {0xA9ACFD4D, 10.06f},
    {0xAA3D9119, 10.07f}, {0x7D3069AB, 10.08f}, {0x067EB508, 10.09f}, {0x8BADD0ED, 10.10f},
    {0xF0E30C4E, 10.11f}, {0x4B7A1D66, 10.12f}, {0x3034C1C5, 10.13f}, {0xBDE7A420, 10.14f},
    {0x6675BA12, 10.15f}, {0x1F26898F, 10.16f}, {0xB0D7C335, 10.17f}, {0x9BB51ABA, 10.18f},
    {0x34445000, 10.19f}, {0xCD70A9A4, 10.20f}, {0x6281E31E, 10.21f}, {0x49E33A91, 10.22f},
    {0xE612702B, 10.23f}, {0x32A0E748, 11.00f},
}};

}  // namespace

std::span<const FirmwareIdentity> DeviceIdentification::ControllerTable() { return kController; }

std::span<const FirmwareIdentity> DeviceIdentification::OperatorPanelTable() { return kOperatorPanel; }

std::optional<float> DeviceIdentification::Find(std::span<const FirmwareIdentity> table, uint32_t identifier) {
    for (const FirmwareIdentity& row : table)
        if (row.identifier == identifier) return row.revision;
    return std::nullopt;
}

std::optional<DeviceIdentification::Match> DeviceIdentification::Identify(uint32_t identifier) {
    if (auto revision = Find(kController, identifier)) return Match{kControllerKind, *revision};
    if (auto revision = Find(kOperatorPanel, identifier)) return Match{kOperatorPanelKind, *revision};
    return std::nullopt;
}

}  // namespace qs
