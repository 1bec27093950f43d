#include "wire/Crc32.h"

#include <array>

namespace sim {
namespace {

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr auto kTable = MakeTable();

}  // namespace

uint32_t Crc32::Of(std::string_view data) {
    Crc32 crc;
    crc.Update(data);
    return crc.Value();
}

void Crc32::Update(uint8_t byte) { reg_ = kTable[(reg_ ^ byte) & 0xFF] ^ (reg_ >> 8); }

void Crc32::Update(std::string_view data) {
    for (char c : data) Update(static_cast<uint8_t>(c));
}

}  // namespace sim
