#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "appmodel/logs/LogPayload.h"

namespace qs {

class MiniProtocol;

// One reply to a log request, as ReceiveBinary gave it.
struct LogReply {
    int result = 0;             // the byte count, or minus the status of the failure
    uint32_t code = 0;          // a rejection's status word
    std::vector<uint8_t> bytes;

    bool Ok() const { return result >= 0; }
    bool Rejected() const;
    // The record: the bytes after the echoed head and the status word.
    LogPayload Payload() const;
};

// The numbers a log holds, oldest to newest.
struct LogRange {
    uint32_t first = 0;
    uint32_t last = 0;
    // last - first + 1; none when last is below first (a device's nonsense is no entries).
    int64_t Count() const;
};

// The log requests of the binary protocol: ranges, entries and the parts of a transaction,
// each a single request and reply ("SV ", a transfer code, its arguments; big-endian). A
// failure is not reported here: a download skips what it could not read.
class LogLink {
public:
    static constexpr uint16_t kNewest = 1;  // range sub-codes
    static constexpr uint16_t kOldest = 2;
    static constexpr uint16_t kHeaderPart = 0;  // parts of a transaction; batches are 1..
    static constexpr uint16_t kBayTotalsPart = 11;
    static constexpr uint16_t kExtraPart = 12;

    explicit LogLink(MiniProtocol& protocol) : protocol_(protocol) {}

    static std::vector<uint8_t> RangeRequest(uint16_t code, uint16_t which);
    static std::vector<uint8_t> EntryRequest(uint16_t code, uint32_t sequence);
    static std::vector<uint8_t> PartRequest(uint32_t transaction, uint16_t part);

    LogReply Ask(const std::vector<uint8_t>& request);
    // Oldest and newest number of a log at the protocol's present address; nullopt when either
    // read fails or its reply holds no number.
    std::optional<LogRange> Range(uint16_t rangeCode);

    MiniProtocol& Protocol() const { return protocol_; }

private:
    std::optional<uint32_t> RangeEnd(uint16_t rangeCode, uint16_t which);

    MiniProtocol& protocol_;
};

}  // namespace qs
