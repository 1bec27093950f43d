#pragma once
#include <cstdint>
#include <string_view>

namespace sim {

// The reflected CRC-32 of IEEE 802.3 (polynomial 0xEDB88320, register preset to all ones,
// result complemented) that guards every block data set in both directions.
class Crc32 {
public:
    static uint32_t Of(std::string_view data);

    void Update(uint8_t byte);
    void Update(std::string_view data);
    // The CRC-32 of everything fed so far.
    uint32_t Value() const { return ~reg_; }

private:
    uint32_t reg_ = 0xFFFFFFFFu;
};

}  // namespace sim
