#include "appmodel/programdata/DocumentOptionsModel.h"

#include <cctype>
#include <cstdio>

#include "link/CommSettingsText.h"
#include "platform/UiServices.h"
#include "programdata/CodePageTable.h"

namespace qs {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// An optional sign and up to nine digits, blanks around them allowed.
std::optional<int> ParseInteger(std::string_view s) {
    s = TrimBlanks(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string RangeMessage(int low, int high) {
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

}  // namespace

DocumentOptionsModel::DocumentOptionsModel(DocumentLinkFields f, IniProfile profile, const UiServices& ui)
    : fields(std::move(f)), profile_(std::move(profile)), ui_(ui) {}

const std::array<const char*, DocumentOptionsModel::kModelCount>& DocumentOptionsModel::ModelTexts() {
    static const std::array<const char*, kModelCount> texts = {
        "DX-IIIS: 1-Arm (DX-I refit)",      "DX-IIIS1: 1-Arm/2-Meter Blender",
        "DX-IIID: 2-Arm/2-Meter Blender",   "DX-IIIQ1: 1-Arm/4-Meter Blender",
        "DX-IIIQ2: 2-Arm/4-Meter Blender",  "DX-IIIQ3: 3-Arm/4-Meter Blender",
        "DX-IIIQ: 4-Arm 4-Meter Blender",   "DX-IIIX: 6-Arm 6-Meter Blender",
    };
    return texts;
}

const std::array<const char*, DocumentOptionsModel::kProtocolCount>& DocumentOptionsModel::ProtocolTexts() {
    static const std::array<const char*, kProtocolCount> texts = {"Terminal    (CR/LF)", "Minicomputer  (LRC)"};
    return texts;
}

std::string DocumentOptionsModel::PortText(int port) {
    if (port == 0) return "TCP/IP";
    if (!IsValidComPort(port)) return {};
    return "Com " + std::to_string(port);
}

std::vector<std::string> DocumentOptionsModel::PortTexts() {
    std::vector<std::string> texts;
    texts.reserve(kPortCount);
    for (int port = 0; port < kPortCount; ++port) texts.push_back(PortText(port));
    return texts;
}

std::vector<std::string> DocumentOptionsModel::CodePageTexts() {
    std::vector<std::string> texts;
    for (const auto& row : CodePageTable::Rows()) texts.emplace_back(row.listText);
    return texts;
}

int DocumentOptionsModel::ListRow(int value, int rowCount) { return value >= 0 && value < rowCount ? value : -1; }

bool DocumentOptionsModel::CommSettingsEnabled(int port) { return IsValidComPort(port); }

bool DocumentOptionsModel::IpAddressEnabled(int port) { return port == 0; }

std::optional<int> DocumentOptionsModel::CheckAddressText(const UiServices& ui, std::string_view text,
                                                         AddressRole role) {
    auto value = ParseInteger(text);
    if (!value) {
        ui.Message(kNotIntegerMessage, MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    if (role == AddressRole::Base && *value == 0) {
        ui.Message(kBaseZeroMessage);
        return std::nullopt;
    }
    const int low = role == AddressRole::Base ? 1 : 0;
    if (*value < low || *value > 99) {
        ui.Message(RangeMessage(low, 99), MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    return value;
}

bool DocumentOptionsModel::ConfirmArmAddresses(const UiServices& ui, const std::array<int, 5>& armAddresses) {
    for (int address : armAddresses) {
        if (address == 0) return ui.Message(kArmZeroMessage, MB_OKCANCEL) == IDOK;
    }
    return true;
}

std::optional<uint32_t> DocumentOptionsModel::ParseIpv4(std::string_view text) {
    text = TrimBlanks(text);
    uint32_t address = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (text.empty() || text.front() != '.') return std::nullopt;
            text.remove_prefix(1);
        }
        size_t digits = 0;
        uint32_t value = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
            if (digits == 3) return std::nullopt;
            value = value * 10 + static_cast<uint32_t>(text[digits] - '0');
            ++digits;
        }
        if (digits == 0 || value > 255) return std::nullopt;
        text.remove_prefix(digits);
        address = (address << 8) | value;
    }
    if (!text.empty()) return std::nullopt;
    return address;
}

std::string DocumentOptionsModel::FormatIpv4(uint32_t a) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", (a >> 24) & 0xFF, (a >> 16) & 0xFF, (a >> 8) & 0xFF, a & 0xFF);
    return buf;
}

std::optional<uint32_t> DocumentOptionsModel::CheckIpv4Text(const UiServices& ui, std::string_view text) {
    auto address = ParseIpv4(text);
    if (!address) ui.Message(kBadIpMessage, MB_OK | MB_ICONEXCLAMATION);
    return address;
}

bool DocumentOptionsModel::CheckDescription(const UiServices& ui, std::string_view bytes) {
    if (bytes.size() <= kMaxDescriptionBytes) return true;
    ui.Message(kDescriptionTooLongMessage, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

SerialSettings DocumentOptionsModel::CommSettingsOfPort(int comPort) const {
    if (auto stored = ReadCommSettings(profile_, comPort)) return *stored;
    return *ParseCommSettings(kDefaultCommText);
}

bool DocumentOptionsModel::StoreCommSettings(int comPort, const SerialSettings& settings) {
    if (!WriteCommSettings(profile_, comPort, settings)) {
        ui_.Message("Unable to save the settings of " + CommKey(comPort) + " in " + profile_.Path(),
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    settingsChanged = true;
    return true;
}

}  // namespace qs
