#include "emulators/farview/core/FarviewCommandLine.h"

#include <cstdint>
#include <cstdio>

#include "emulators/display/CommandLineWords.h"

namespace qs::farview {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The hexadecimal digits right after the word, as a dotted address; nullopt when there are
// none or more than fit 32 bits.
std::optional<std::string> AddressAfter(std::string_view text) {
    uint32_t value = 0;
    size_t digits = 0;
    for (; digits < text.size() && HexValue(text[digits]) >= 0; ++digits) {
        if (digits == FarviewCommandLine::kMaxAddressDigits) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(HexValue(text[digits]));
    }
    if (digits == 0) return std::nullopt;
    char dotted[16];
    std::snprintf(dotted, sizeof dotted, "%u.%u.%u.%u", value >> 24, (value >> 16) & 0xFF, (value >> 8) & 0xFF,
                  value & 0xFF);
    return std::string(dotted);
}

}  // namespace

FarviewCommandLine FarviewCommandLine::Parse(std::string_view text) {
    FarviewCommandLine line;
    line.master = text.find("MASTER") != std::string_view::npos;
    line.quad = text.find("QUAD") != std::string_view::npos;
    if (const size_t at = text.find("COM"); at != std::string_view::npos) {
        line.port = display::CommandLineWords::DecimalAfter(text.substr(at + 3));
        if (!line.port) line.refused.push_back("COM");
    }
    if (const size_t at = text.find("ADDR"); at != std::string_view::npos) {
        line.address = AddressAfter(text.substr(at + 4));
        if (!line.address) line.refused.push_back("ADDR");
    }
    return line;
}

}  // namespace qs::farview
