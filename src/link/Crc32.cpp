#include "link/Crc32.h"

#include <array>

namespace qs {

namespace {

// Eight tables: table k gives the register's change for a byte that still has k bytes after
// it in an 8-byte step, so one step folds eight bytes with eight independent look-ups.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
    Tables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        t[0][i] = c;
    }
    for (size_t k = 1; k < 8; ++k)
        for (size_t i = 0; i < 256; ++i) t[k][i] = t[0][t[k - 1][i] & 0xFF] ^ (t[k - 1][i] >> 8);
    return t;
}

constexpr Tables kTables = MakeTables();

uint32_t Load32Le(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

void Crc32Init(uint32_t* state) { *state = 0xFFFFFFFFu; }

uint32_t Crc32UpdateByte(uint32_t* state, unsigned byte) {
    *state = kTables[0][(*state ^ byte) & 0xFF] ^ (*state >> 8);
    return ~*state;
}

uint32_t Crc32(const void* data, size_t length) {
    uint32_t c = 0xFFFFFFFFu;
    const auto* p = static_cast<const unsigned char*>(data);
    for (; length >= 8; length -= 8, p += 8) {
        const uint32_t lo = Load32Le(p) ^ c;
        const uint32_t hi = Load32Le(p + 4);
        c = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
            kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
            kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
    }
    for (; length > 0; --length, ++p) c = kTables[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return ~c;
}

}  // namespace qs
