#include "link/Crc32.h"

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
    uint32_t c = 0xFFFFFFFFu;
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < length; ++i) c = kTable[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return ~c;
}

}  // namespace qs
