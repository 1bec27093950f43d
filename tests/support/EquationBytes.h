#pragma once
// Equation sets as the controller holds and receives them, written out by hand (big-endian),
// for the tests of the program, of the simulated controller and of the two together.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace eqbytes {

inline std::string U16(uint32_t v) { return {static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)}; }
inline std::string U32(uint32_t v) { return U16(v >> 16) + U16(v & 0xFFFF); }
inline std::string FloatBe(float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return U32(bits);
}

// One device line: number, enable byte, kind codes, values, operator codes (256 where none).
inline std::string DeviceLine(int number, std::vector<uint8_t> kinds, std::vector<uint32_t> values,
                              std::vector<uint32_t> operators, bool enabled = true) {
    std::string out = U16(static_cast<uint32_t>(number)) + U16(static_cast<uint32_t>(number));
    out += static_cast<char>(enabled ? 1 : 0);
    kinds.resize(5, 0);
    values.resize(5, 0);
    operators.resize(4, 256);
    for (uint8_t k : kinds) out += static_cast<char>(k);
    for (uint32_t v : values) out += U32(v);
    for (uint32_t o : operators) out += U32(o);
    return out + std::string(4, '\0');
}

// The set header with this total and line count (lines enabled).
inline std::string SetHeader(uint32_t total, uint32_t lines) {
    return std::string("EQUATIONS\0", 10) + std::string(10, '\0') + "\x01\x05" + U16(total) + U16(lines) + U16(500) +
           U16(0);
}

inline std::string EndRecord() { return std::string(50, '\0'); }

// Tables as the controller keeps them: floats (type 20), bytes (type 25), then 0 and 0.
inline std::string TablesOf(const std::vector<float>& floats, const std::string& bytes) {
    std::string out;
    if (!floats.empty()) {
        out += U16(20) + U16(static_cast<uint32_t>(floats.size()));
        for (float f : floats) out += FloatBe(f);
    }
    if (!bytes.empty()) out += U16(25) + U16(static_cast<uint32_t>(bytes.size())) + bytes;
    return out + std::string(4, '\0');
}

// A whole set as held (no closing byte), its header total that of its download.
inline std::string HeldSet(const std::string& lines, const std::string& tables, uint32_t headerLines) {
    const size_t total = 30 + lines.size() + 50 + tables.size() + 1;
    return SetHeader(static_cast<uint32_t>(total), headerLines) + lines + EndRecord() + tables;
}

}  // namespace eqbytes
