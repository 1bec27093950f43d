#include "link/CommSettingsText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace qs {

namespace {

constexpr std::array<uint32_t, 17> kSupportedRates = {
    110,   150,   200,   300,    600,    1200,   1800,   2400,  4800,
    9600,  19200, 38400, 57600,  115200, 230400, 460800, 921600,
};

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// Plain decimal digits only (no sign, no fraction), at most 7 of them.
std::optional<uint32_t> ParseDigits(std::string_view s) {
    s = TrimBlanks(s);
    if (s.empty() || s.size() > 7) return std::nullopt;
    uint32_t value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value;
}

}  // namespace

bool IsSupportedBaudRate(uint32_t rate) {
    return std::find(kSupportedRates.begin(), kSupportedRates.end(), rate) != kSupportedRates.end();
}

bool IsApplicable(const SerialSettings& s) {
    return IsSupportedBaudRate(s.baudRate) && s.byteSize >= 5 && s.byteSize <= 8 && s.parity <= SPACEPARITY &&
           (s.stopBits == ONESTOPBIT || s.stopBits == TWOSTOPBITS);
}

std::optional<SerialSettings> ParseCommSettings(std::string_view text) {
    if (text.size() > kMaxCommTextLength) return std::nullopt;
    std::array<std::string_view, 4> fields;
    size_t count = 0;
    while (true) {
        size_t comma = text.find(',');
        if (count == fields.size()) return std::nullopt;  // a fifth field
        fields[count++] = text.substr(0, comma);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (count != fields.size()) return std::nullopt;

    SerialSettings s;
    auto baud = ParseDigits(fields[0]);
    if (!baud) return std::nullopt;
    s.baudRate = *baud;

    std::string_view parity = TrimBlanks(fields[1]);
    if (parity.size() != 1) return std::nullopt;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(parity[0])));
    const char* found = std::find(kParityLetters, kParityLetters + 5, letter);
    if (found == kParityLetters + 5) return std::nullopt;
    s.parity = static_cast<uint8_t>(found - kParityLetters);

    auto data = ParseDigits(fields[2]);
    if (!data || *data > 8) return std::nullopt;
    s.byteSize = static_cast<uint8_t>(*data);

    // "1.5" fails here: the serial layer has no one-and-a-half stop bits.
    auto stop = ParseDigits(fields[3]);
    if (!stop || (*stop != 1 && *stop != 2)) return std::nullopt;
    s.stopBits = *stop == 2 ? TWOSTOPBITS : ONESTOPBIT;

    if (!IsApplicable(s)) return std::nullopt;
    return s;
}

std::optional<std::string> FormatCommSettings(const SerialSettings& s) {
    if (!IsApplicable(s)) return std::nullopt;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%u,%c,%u,%u", static_cast<unsigned>(s.baudRate), kParityLetters[s.parity],
                  static_cast<unsigned>(s.byteSize), s.stopBits == TWOSTOPBITS ? 2u : 1u);
    return std::string(buf);
}

bool IsValidComPort(int comPort) { return comPort >= 1 && comPort <= 99; }

std::string CommKey(int comPort) {
    if (!IsValidComPort(comPort)) return {};
    return "COM" + std::to_string(comPort);
}

std::optional<SerialSettings> ReadCommSettings(const IniProfile& profile, int comPort) {
    if (!IsValidComPort(comPort)) return std::nullopt;
    return ParseCommSettings(profile.GetString(kCommSection, CommKey(comPort), kDefaultCommText));
}

bool WriteCommSettings(IniProfile& profile, int comPort, const SerialSettings& settings) {
    if (!IsValidComPort(comPort)) return false;
    auto text = FormatCommSettings(settings);
    if (!text) return false;
    return profile.WriteString(kCommSection, CommKey(comPort), *text);
}

}  // namespace qs
