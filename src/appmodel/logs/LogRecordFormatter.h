#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "appmodel/logs/LogPayload.h"

namespace qs {

// One formatter per record of the device's logs: the payload of a reply in, the text of its
// line out (without the line end), in the C locale whatever the desktop's. A payload shorter
// than its record's fixed part gives nullopt: the record is not written. Name lists take at
// most their slots (20 in a transaction header, 10 in a batch) and skip empty names.
class LogRecordFormatter {
public:
    // Fixed parts; a transaction header and the entries are followed or led by a text.
    static constexpr size_t kHeaderBytes = 1062;
    static constexpr size_t kExtraBytes = 290;
    static constexpr size_t kBatchBytes = 1046;
    static constexpr size_t kBayTotalsBytes = 1444;
    static constexpr size_t kEventEntryBytes = 110;
    static constexpr size_t kAuditEntryBytes = 90;
    static constexpr int kHeaderNameSlots = 20;
    static constexpr int kBatchNameSlots = 10;
    static constexpr int kBayTotals = 180;
    static constexpr const char* kBayTotalsLead = "Bay Nonresettables: ";

    // Part 0 of a transaction: the line the rest of the transaction's parts follow.
    static std::optional<std::string> TransactionHeader(const LogPayload& payload);
    // The number of batch records the header announces.
    static uint16_t BatchCount(const LogPayload& header);
    // Part 12, appended to the header's line.
    static std::optional<std::string> TransactionExtra(const LogPayload& payload);
    // Part b (1 <= b <= the batch count): a line of its own.
    static std::optional<std::string> Batch(const LogPayload& payload);
    // Part 11: "Bay Nonresettables: " and 180 values.
    static std::optional<std::string> BayTotals(const LogPayload& payload);
    // One entry of the event or audit-trail log, by the sequence number it was asked for.
    static std::optional<std::string> EventEntry(uint32_t sequence, const LogPayload& payload);
    static std::optional<std::string> AuditEntry(uint32_t sequence, const LogPayload& payload);
};

}  // namespace qs
