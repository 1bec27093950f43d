#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "wire/Bytes.h"

namespace sim {

// Data sets the controller keeps for each device address on its own, written with one transfer
// code and read back with its partner (the card database: written with 0x0419, read with
// 0x0418). Two addresses on one line are two controllers, each with its own set.
class PerAddressSets {
public:
    // From now on a completed write of `writeCode` to an address is what a read of `readCode`
    // from that address serves.
    void Pair(uint16_t readCode, uint16_t writeCode) { readCodeOf_[writeCode] = readCode; }

    // The set of `address` for a read of `code`; nullopt when the code is not kept per address
    // or the address has not been written yet.
    std::optional<Bytes> Read(int address, uint16_t code) const;
    // Keeps `data` as the set of `address` when `code` writes a set kept per address; false
    // (and nothing kept) for any other code.
    bool Keep(int address, uint16_t code, const Bytes& data);

private:
    std::map<uint16_t, uint16_t> readCodeOf_;             // write code -> read code
    std::map<std::pair<uint16_t, int>, Bytes> sets_;      // (read code, address) -> set
};

}  // namespace sim
