#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

// Bytes on the wire and in data sets. A string so that texts and blocks share one type; every
// byte value is allowed.
using Bytes = std::string;

inline uint8_t ByteAt(std::string_view data, size_t i) { return static_cast<uint8_t>(data[i]); }

// Multi-byte numbers in blocks are big-endian.
inline void PutU16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<char>(v >> 8));
    out.push_back(static_cast<char>(v & 0xFF));
}

inline void PutU32(Bytes& out, uint32_t v) {
    PutU16(out, static_cast<uint16_t>(v >> 16));
    PutU16(out, static_cast<uint16_t>(v & 0xFFFF));
}

// Callers check the size first.
inline uint16_t GetU16(std::string_view data, size_t at) {
    return static_cast<uint16_t>(ByteAt(data, at) << 8 | ByteAt(data, at + 1));
}

inline uint32_t GetU32(std::string_view data, size_t at) {
    return static_cast<uint32_t>(GetU16(data, at)) << 16 | GetU16(data, at + 2);
}

inline std::string ToHex(std::string_view data) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(data.size() * 2);
    for (char c : data) {
        auto b = static_cast<uint8_t>(c);
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0x0F]);
    }
    return out;
}

}  // namespace sim
