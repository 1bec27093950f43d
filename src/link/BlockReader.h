#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/BlockTransfer.h"

namespace qs {

// Reads one data set from the device: block 0 announces its length and CRC-32, blocks 1, 2, ...
// carry the data, and the data are handed over only when the CRC-32 matches.
class BlockReader : public BlockTransfer {
public:
    // `limit`: the most bytes the owner takes (its receive buffer); a longer announced set is
    // refused before block 1 is asked for.
    BlockReader(MiniProtocol& protocol, uint16_t code, TransferTexts texts, size_t limit);

    // The whole read. Done: `data` holds exactly the announced bytes and they match the CRC.
    // Failed (shown to the user) or Cancelled (silent): `data` is left as it was.
    TransferOutcome Read(std::vector<uint8_t>& data);

    // What block 0 announced (both 0 before it arrived).
    uint32_t AnnouncedLength() const { return length_; }
    uint32_t AnnouncedCrc() const { return crc_; }

private:
    size_t limit_;
    uint32_t length_ = 0;
    uint32_t crc_ = 0;
};

}  // namespace qs
