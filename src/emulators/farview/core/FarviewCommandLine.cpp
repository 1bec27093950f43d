#include "emulators/farview/core/FarviewCommandLine.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>

namespace qs::farview {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A decimal integer as atoi reads it (blanks, a sign, digits; none gives 0), or nullopt when
// it does not fit an int.
std::optional<int> DecimalAfter(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{INT_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return std::nullopt;
    return static_cast<int>(value);
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
        line.port = DecimalAfter(text.substr(at + 3));
        if (!line.port) line.refused.push_back("COM");
    }
    if (const size_t at = text.find("ADDR"); at != std::string_view::npos) {
        line.address = AddressAfter(text.substr(at + 4));
        if (!line.address) line.refused.push_back("ADDR");
    }
    return line;
}

}  // namespace qs::farview
