#pragma once
#include <cstddef>
#include <array>
#include <cstdint>

namespace qs::display {

// The 16 bytes the emulator sends for a key: 02 01, the target address, the key code, 00 06,
// a time stamp (big-endian local seconds since 1970 plus one day), 00, a flags byte, and the
// CRC-32 of the twelve bytes before it, big-endian.
class KeyFrame {
public:
    static constexpr size_t kSize = 16;
    using Bytes = std::array<uint8_t, kSize>;

    static Bytes Build(uint8_t address, uint8_t code, uint32_t stamp, uint8_t flags);
    // The time stamp for a moment given in seconds since 1970 (UTC): the local time in seconds
    // (time-zone and daylight-saving offsets added) plus 86400.
    static uint32_t StampOf(int64_t epochSeconds);
};

}  // namespace qs::display
