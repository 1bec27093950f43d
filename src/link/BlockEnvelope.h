#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qs {

// The "SV " envelope every bulk data set travels in, as the bytes of a binary block: requests
// are "SV " + a big-endian transfer code + arguments; replies (as ReceiveBinary returns them)
// echo those five bytes, add a status word and then the data.
class BlockEnvelope {
public:
    static constexpr size_t kHeadBytes = 5;          // "SV " and the transfer code
    static constexpr size_t kReadRequestBytes = 7;   // and the block number
    static constexpr size_t kStatusOffset = 5;       // status word of a reply
    static constexpr size_t kDataOffset = 7;         // first data byte of a reply
    static constexpr size_t kTotalBytes = 4;         // the total after the head of a first data frame
    static constexpr size_t kFirstReplyBytes = 15;   // head, status, length and CRC of block 0
    static constexpr size_t kMaxFrameBytes = 507;    // head and payload of one write frame
    static constexpr size_t kClosingBytes = 5;       // 0x00 and the CRC-32 at the end of the last frame
    // Largest item a frame-filling write can carry: a frame holds the head and whole items.
    static constexpr size_t kMaxItemBytes = kMaxFrameBytes - kHeadBytes;

    // What block 0 of a read announces.
    struct Announcement {
        uint32_t length = 0;
        uint32_t crc = 0;
    };

    // "SV " and the code: the initiation frame of a write, and the head of every data frame.
    static std::vector<uint8_t> Head(uint16_t code);
    // The 7-byte read request of one block (0 asks for the length and the CRC).
    static std::vector<uint8_t> ReadRequest(uint16_t code, uint16_t block);

    static void PutU16(std::vector<uint8_t>& out, uint16_t value);
    static void PutU32(std::vector<uint8_t>& out, uint32_t value);
    // Big-endian fields of a reply; 0 when the reply ends before the field does.
    static uint16_t U16At(std::span<const uint8_t> bytes, size_t offset);
    static uint32_t U32At(std::span<const uint8_t> bytes, size_t offset);

    static uint16_t StatusWord(std::span<const uint8_t> reply) { return U16At(reply, kStatusOffset); }
    // Length and CRC-32 from the first reply of a read; nullopt when it is shorter than 15 bytes.
    static std::optional<Announcement> ParseFirstReply(std::span<const uint8_t> reply);
    // The data a later block carries: its bytes from offset 7 on (none when it is shorter).
    static std::span<const uint8_t> BlockData(std::span<const uint8_t> reply);
};

}  // namespace qs
