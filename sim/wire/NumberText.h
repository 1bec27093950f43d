#pragma once
#include <cstdint>
#include <string_view>

namespace sim {

// Decimal or hexadecimal digits only (no sign, no prefix, no blanks), at most `maxDigits` of
// them and no value above `limit`: command-line flags and fault texts are read with it.
inline bool ParseUnsignedText(std::string_view text, int base, uint64_t limit, uint64_t& out,
                              size_t maxDigits = 16) {
    if (text.empty() || text.size() > maxDigits) return false;
    uint64_t v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (v > limit) return false;
    }
    out = v;
    return true;
}

}  // namespace sim
