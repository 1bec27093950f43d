#include "link/Crc32.h"

#include <zlib.h>

#include <array>

namespace qs {

namespace {

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        t[i] = c;
    }
    return t;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

}  // namespace

void Crc32Init(uint32_t* state) { *state = 0xFFFFFFFFu; }

uint32_t Crc32UpdateByte(uint32_t* state, unsigned byte) {
    *state = kTable[(*state ^ byte) & 0xFF] ^ (*state >> 8);
    return ~*state;
}

uint32_t Crc32(const void* data, size_t length) {
    // zlib's is the same polynomial, preset and final complement, many bytes a step.
    return static_cast<uint32_t>(::crc32_z(0, static_cast<const Bytef*>(data), length));
}

}  // namespace qs
