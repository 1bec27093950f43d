#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniProfile.h"
#include "platform/SerialSettings.h"
#include "programdata/DocumentLinkFields.h"

namespace qs {

struct UiServices;

// Lists, enabling rules and checks of the document options dialog. Every refusal is shown
// through the user-interface services given before the check returns, so the dialog only has
// to stay open.
class DocumentOptionsModel {
public:
    static constexpr int kModelCount = 8;
    static constexpr int kPortCount = 100;  // "TCP/IP" and COM 1-99
    static constexpr int kProtocolCount = 2;
    static constexpr size_t kMaxDescriptionBytes = 32;  // what the file keeps

    static constexpr const char* kBaseZeroMessage = "Base (Arm 1) address cannot be 0";
    static constexpr const char* kArmZeroMessage =
        "An address of 0 for an arm will prevent Quillset from reading/writing that arm's data.\n"
        "Press OK to accept, press <Cancel> to change the address to a valid entry (1-99)";
    static constexpr const char* kNotIntegerMessage = "Please enter an integer.";
    static constexpr const char* kBadIpMessage =
        "Please enter the IP address as four numbers from 0 to 255 separated by dots.";
    static constexpr const char* kDescriptionTooLongMessage = "The description can hold at most 32 characters.";

    DocumentOptionsModel(DocumentLinkFields fields, IniProfile profile, const UiServices& ui);

    DocumentLinkFields fields;
    // Set when serial settings were edited and stored while the dialog was open.
    bool settingsChanged = false;

    static const std::array<const char*, kModelCount>& ModelTexts();
    static const std::array<const char*, kProtocolCount>& ProtocolTexts();
    // "TCP/IP" for 0, "Com %d" for 1-99, empty otherwise; PortTexts lists rows 0-99.
    static std::string PortText(int port);
    static std::vector<std::string> PortTexts();
    static std::vector<std::string> CodePageTexts();
    // The list row that shows `value`, or -1 (nothing selected) when the list has no such row.
    static int ListRow(int value, int rowCount);

    // Serial settings only for a COM port, the IP address only for TCP/IP.
    static bool CommSettingsEnabled(int port);
    static bool IpAddressEnabled(int port);

    enum class AddressRole { Base, Arm };
    // Base address 1-99, arm addresses 0-99 (every frame carries two digits). A refused text
    // shows its message and gives nullopt.
    static std::optional<int> CheckAddressText(const UiServices& ui, std::string_view text, AddressRole role);
    // An arm address of 0 asks the user; true when accepted (or when no arm address is 0).
    static bool ConfirmArmAddresses(const UiServices& ui, const std::array<int, 5>& armAddresses);

    // Dotted IPv4, four decimal octets 0-255.
    static std::optional<uint32_t> ParseIpv4(std::string_view text);
    static std::string FormatIpv4(uint32_t address);
    static std::optional<uint32_t> CheckIpv4Text(const UiServices& ui, std::string_view text);
    static bool CheckDescription(const UiServices& ui, std::string_view bytes);

    // The stored settings of a COM port; the default settings when its text is missing or
    // cannot be applied.
    SerialSettings CommSettingsOfPort(int comPort) const;
    // Stores new settings of a COM port and notes the change; a failed write is shown and
    // gives false.
    bool StoreCommSettings(int comPort, const SerialSettings& settings);

    const IniProfile& Profile() const { return profile_; }
    const UiServices& Ui() const { return ui_; }

private:
    IniProfile profile_;
    const UiServices& ui_;
};

}  // namespace qs
