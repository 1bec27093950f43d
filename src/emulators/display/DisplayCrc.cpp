#include "emulators/display/DisplayCrc.h"

#include <array>

namespace qs::display {
namespace {

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

}  // namespace

uint32_t DisplayCrc::Step(uint32_t state, uint8_t byte) { return kTable[(state ^ byte) & 0xFF] ^ (state >> 8); }

uint32_t DisplayCrc::Of(std::span<const uint8_t> bytes) {
    uint32_t state = 0xFFFFFFFFu;
    for (uint8_t b : bytes) state = Step(state, b);
    return ~state;
}

}  // namespace qs::display
