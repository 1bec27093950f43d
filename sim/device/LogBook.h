#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "device/BlockTransfer.h"
#include "device/CommandProcessor.h"

namespace sim {

// Which records the logs hold, and the bays the arms belong to.
struct LogOptions {
    enum Kind { kTransactions, kEvents, kAudit };
    struct Range {
        uint32_t first = 0;
        uint32_t last = 0;
        bool none = false;  // an empty log: its range requests are refused
    };
    // Every address: transactions 101-103, events 1-5, audit trail 1-4.
    static Range Default(Kind kind);

    // Per address (-1: every address) and kind.
    std::map<std::pair<int, int>, Range> ranges;
    // The letters after "BA " in the reply to "BA": one per arm, 'A' or 'B' (or anything else
    // for none).
    std::string bays = "AAAAAA";

    // "[ADDR:]KIND=FIRST-LAST" or "[ADDR:]KIND=none", KIND trans, event or audit. Returns "" or
    // what is wrong with it.
    std::string Add(std::string_view spec);
    Range RangeOf(int address, Kind kind) const;
    static std::string Help();
};

// The device's three logs on the block port, and the bay commands:
//   0405 / 0403 / 0407, 7 bytes: "SV " code, sub-code (2 oldest, 1 newest) -> u32 number
//   0404, 11 bytes: "SV " 0404, u32 transaction, u16 part (0 header, 1.. batches, 11 bay
//         totals, 12 extra) -> the record (LogRecords)
//   0402 / 0406, 9 bytes: "SV " code, u32 sequence number -> the event or audit-trail entry
// A number outside the log, a part past the batches or an empty log is refused with 8001; a
// request of another size or sub-code with 8002. "BA" answers "BA " and the bay letters;
// "MS A" and "MS B" are echoed.
class LogBook {
public:
    static constexpr uint16_t kEventEntry = 0x0402;
    static constexpr uint16_t kEventRange = 0x0403;
    static constexpr uint16_t kTransactionPart = 0x0404;
    static constexpr uint16_t kTransactionRange = 0x0405;
    static constexpr uint16_t kAuditEntry = 0x0406;
    static constexpr uint16_t kAuditRange = 0x0407;
    static constexpr uint16_t kBayTotalsPart = 11;
    static constexpr uint16_t kExtraPart = 12;

    explicit LogBook(LogOptions options) : options_(std::move(options)) {}

    Bytes AnswerRange(int address, const Bytes& request) const;
    Bytes AnswerEntry(int address, const Bytes& request) const;
    Bytes AnswerPart(int address, const Bytes& request) const;
    std::string AnswerBays(std::string_view command) const;

    // The part a transaction request asks for (the faults' block=K), if it is one.
    static std::optional<int> PartOf(const Bytes& request);
    static void Install(LogOptions options, BlockTransfer::SpecialHandlers& handlers, CommandProcessor& commands);

private:
    LogOptions options_;
};

}  // namespace sim
