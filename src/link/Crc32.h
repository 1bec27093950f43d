#pragma once
#include <cstddef>
#include <cstdint>

namespace qs {

// The reflected CRC-32 of IEEE 802.3 (0xEDB88320, preset all ones, result complemented) that
// guards every block transfer in both directions.
uint32_t Crc32(const void* data, size_t length);
void Crc32Init(uint32_t* state);
// One byte on the running register; returns the complemented register, i.e. the CRC-32 of
// everything fed so far.
uint32_t Crc32UpdateByte(uint32_t* state, unsigned byte);

}  // namespace qs
