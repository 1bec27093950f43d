#pragma once
#include <cstdint>
#include <span>

namespace qs::display {

// The reflected CRC-32 of IEEE 802.3 (polynomial 0xEDB88320). The link keeps a running state
// that is fed byte by byte; a whole-buffer value starts from all ones and is complemented.
class DisplayCrc {
public:
    static uint32_t Step(uint32_t state, uint8_t byte);
    static uint32_t Of(std::span<const uint8_t> bytes);
};

}  // namespace qs::display
