#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "wire/Bytes.h"
#include "wire/FrameCodec.h"

namespace sim {

enum class FaultKind {
    Delay,       // value: milliseconds the reply is held back
    Drop,        // no reply
    Noise,       // value: noise bytes sent before the reply
    BadLrc,      // Minicomputer reply with a wrong LRC
    NoCr,        // Terminal reply ending in LF alone
    LongReply,   // value: the reply's text or block is padded to this many bytes
    Reject,      // value: text command refused with "NO" and these two digits
    Status,      // value: block refused with this status word
    Close,       // the connection is closed instead of replying
    CloseAfter,  // value: a connection is closed when its value-th frame arrives
    BadCrc,      // block 0 of a read announces a wrong CRC-32
    Length,      // value: block 0 of a read announces this length
    EmptyBlock,  // a read's data block comes without data
    ShortReply,  // a block reply is cut to 14 bytes
};

// What one request is, as far as the faults care.
struct FrameTraits {
    int address = -1;
    Framing framing = Framing::None;
    bool binary = false;
    std::string_view payload;
    std::optional<uint16_t> code;  // blocks: the transfer code
    std::optional<int> block;      // read block, or write frame (0 = initiation)
    bool final = false;            // completes an open write
    int connectionFrame = 0;       // 1 for the first frame on this connection
};

// One injected fault: a kind, its value, and the filters that choose the frames it hits.
struct Fault {
    FaultKind kind = FaultKind::Drop;
    int64_t value = 0;
    std::optional<Bytes> prefix;
    std::optional<uint16_t> code;
    std::optional<int> block;
    std::optional<int> address;
    bool finalOnly = false;
    int skip = 0;    // matching frames let through first
    int count = -1;  // matching frames acted on; -1 = every one
    int seen = 0;
    int applied = 0;

    // Parses "kind[=value][,modifier...]"; nullopt with `error` set on a fault.
    static std::optional<Fault> Parse(std::string_view text, std::string& error);
    // The help text describing the syntax.
    static std::string Help();

    // True when the kind can act on this frame and every filter holds.
    bool Matches(const FrameTraits& frame) const;
};

}  // namespace sim
