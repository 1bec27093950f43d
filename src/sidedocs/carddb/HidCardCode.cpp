#include "sidedocs/carddb/HidCardCode.h"

#include <bit>
#include <cstdint>
#include <cstdio>

namespace qs {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view Slice(std::string_view text, size_t from, size_t count = std::string_view::npos) {
    return from < text.size() ? text.substr(from, count) : std::string_view();
}

}  // namespace

unsigned HidCardCode::ReadHex(std::string_view text) {
    uint64_t v = 0;
    for (char c : text) {
        const int d = HexDigit(c);
        if (d < 0) break;
        v = v * 16 + static_cast<unsigned>(d);
        if (v > UINT32_MAX) return UINT32_MAX;
    }
    return static_cast<unsigned>(v);
}

std::optional<unsigned> HidCardCode::ReadField(std::string_view text, unsigned max, std::string& message) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    uint64_t v = 0;
    bool digits = !text.empty() && text.size() <= 10;
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    if (!digits) {
        message = kNotNumberMessage;
        return std::nullopt;
    }
    for (char c : text) v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > max) {
        message = "Please enter an integer between 0 and " + std::to_string(max) + ".";
        return std::nullopt;
    }
    return static_cast<unsigned>(v);
}

unsigned HidCardCode::ParityMark(unsigned facility, unsigned card) {
    const int bits = std::popcount(facility & 0xFFu) + std::popcount(card & 0xF000u);
    return bits % 2 == 0 ? 2u : 3u;
}

void HidCardCode::ParseValue() {
    facility = ReadHex(Slice(value, 3, 2));
    card = ReadHex(Slice(value, 5));
    extended = ParityMark(facility, card);
}

void HidCardCode::FormatValue() {
    extended = ParityMark(facility, card);
    char text[32];
    std::snprintf(text, sizeof text, "%03X%02X%04X", extended, facility, card);
    value = text;
}

}  // namespace qs
