#include "device/LogBook.h"

#include <memory>

#include "device/LogRecords.h"
#include "wire/NumberText.h"

namespace sim {
namespace {

constexpr size_t kArguments = 5;  // after "SV " and the transfer code
constexpr size_t kRangeRequest = 7;
constexpr size_t kEntryRequest = 9;
constexpr size_t kPartRequest = 11;
constexpr uint16_t kOldest = 2;
constexpr uint16_t kNewest = 1;

LogOptions::Kind KindOf(uint16_t code) {
    switch (code) {
    case LogBook::kEventRange:
    case LogBook::kEventEntry: return LogOptions::kEvents;
    case LogBook::kAuditRange:
    case LogBook::kAuditEntry: return LogOptions::kAudit;
    default: return LogOptions::kTransactions;
    }
}

bool Holds(const LogOptions::Range& r, uint32_t n) { return !r.none && n >= r.first && n <= r.last; }

}  // namespace

LogOptions::Range LogOptions::Default(Kind kind) {
    switch (kind) {
    case kEvents: return {1, 5, false};
    case kAudit: return {1, 4, false};
    case kTransactions: break;
    }
    return {101, 103, false};
}

std::string LogOptions::Add(std::string_view spec) {
    int address = -1;
    if (const size_t colon = spec.find(':'); colon != std::string_view::npos) {
        uint64_t a = 0;
        if (!ParseUnsignedText(spec.substr(0, colon), 10, 99, a, 2)) return "address 0-99 before ':'";
        address = static_cast<int>(a);
        spec.remove_prefix(colon + 1);
    }
    const size_t eq = spec.find('=');
    if (eq == std::string_view::npos) return "KIND=FIRST-LAST or KIND=none";
    const std::string_view name = spec.substr(0, eq);
    const std::string_view value = spec.substr(eq + 1);
    Kind kind;
    if (name == "trans") kind = kTransactions;
    else if (name == "event") kind = kEvents;
    else if (name == "audit") kind = kAudit;
    else return "kind trans, event or audit";
    Range range;
    if (value == "none") {
        range.none = true;
    } else {
        const size_t dash = value.find('-');
        uint64_t first = 0, last = 0;
        if (dash == std::string_view::npos || !ParseUnsignedText(value.substr(0, dash), 10, 0xFFFFFFFFu, first, 10) ||
            !ParseUnsignedText(value.substr(dash + 1), 10, 0xFFFFFFFFu, last, 10)) {
            return "FIRST-LAST (0-4294967295) or none";
        }
        range.first = static_cast<uint32_t>(first);
        range.last = static_cast<uint32_t>(last);
    }
    ranges[{address, kind}] = range;
    return "";
}

LogOptions::Range LogOptions::RangeOf(int address, Kind kind) const {
    if (auto it = ranges.find({address, kind}); it != ranges.end()) return it->second;
    if (auto it = ranges.find({-1, kind}); it != ranges.end()) return it->second;
    return Default(kind);
}

std::string LogOptions::Help() {
    return R"(  --log-range SPEC      the numbers a log holds: [ADDR:]KIND=FIRST-LAST or [ADDR:]KIND=none, KIND
                        trans, event or audit (default at every address: trans=101-103,
                        event=1-5, audit=1-4); FIRST may be above LAST (the device's nonsense);
                        repeatable
  --bays LETTERS        the reply to "BA" is "BA " and LETTERS, one per arm: A bay A, B bay B
                        (default AAAAAA)
)";
}

Bytes LogBook::AnswerRange(int address, const Bytes& request) const {
    const uint16_t code = BlockTransfer::CodeOf(request);
    if (request.size() != kRangeRequest) return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    const uint16_t which = GetU16(request, kArguments);
    if (which != kOldest && which != kNewest) return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    const LogOptions::Range range = options_.RangeOf(address, KindOf(code));
    if (range.none) return BlockTransfer::Head(code, BlockTransfer::kBlockNotFound);
    Bytes reply = BlockTransfer::Head(code, BlockTransfer::kOk);
    PutU32(reply, which == kOldest ? range.first : range.last);
    return reply;
}

Bytes LogBook::AnswerEntry(int address, const Bytes& request) const {
    const uint16_t code = BlockTransfer::CodeOf(request);
    if (request.size() != kEntryRequest) return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    const uint32_t sequence = GetU32(request, kArguments);
    if (!Holds(options_.RangeOf(address, KindOf(code)), sequence))
        return BlockTransfer::Head(code, BlockTransfer::kBlockNotFound);
    return BlockTransfer::Head(code, BlockTransfer::kOk) +
           (code == kEventEntry ? LogRecords::EventEntry(sequence) : LogRecords::AuditEntry(sequence));
}

Bytes LogBook::AnswerPart(int address, const Bytes& request) const {
    const uint16_t code = BlockTransfer::CodeOf(request);
    if (request.size() != kPartRequest) return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    const uint32_t number = GetU32(request, kArguments);
    const uint16_t part = GetU16(request, kArguments + 4);
    if (!Holds(options_.RangeOf(address, LogOptions::kTransactions), number))
        return BlockTransfer::Head(code, BlockTransfer::kBlockNotFound);
    Bytes data;
    if (part == 0) data = LogRecords::Header(address, number);
    else if (part == kExtraPart) data = LogRecords::Extra(number);
    else if (part == kBayTotalsPart) data = LogRecords::BayTotals(number);
    else if (part <= LogRecords::BatchCount(number)) data = LogRecords::Batch(number, part);
    else return BlockTransfer::Head(code, BlockTransfer::kBlockNotFound);
    return BlockTransfer::Head(code, BlockTransfer::kOk) + data;
}

std::string LogBook::AnswerBays(std::string_view command) const {
    if (command == "BA") return "BA " + options_.bays;
    if (command == "MS A" || command == "MS B") return std::string(command);
    return CommandProcessor::Rejection(CommandProcessor::kInvalidCommand);
}

std::optional<int> LogBook::PartOf(const Bytes& request) {
    if (request.size() != kPartRequest || BlockTransfer::CodeOf(request) != kTransactionPart) return std::nullopt;
    return GetU16(request, kArguments + 4);
}

void LogBook::Install(LogOptions options, BlockTransfer::SpecialHandlers& handlers, CommandProcessor& commands) {
    auto book = std::make_shared<const LogBook>(std::move(options));
    for (uint16_t code : {kTransactionRange, kEventRange, kAuditRange})
        handlers[code] = [book](int a, const Bytes& r) -> std::optional<Bytes> { return book->AnswerRange(a, r); };
    for (uint16_t code : {kEventEntry, kAuditEntry})
        handlers[code] = [book](int a, const Bytes& r) -> std::optional<Bytes> { return book->AnswerEntry(a, r); };
    handlers[kTransactionPart] = [book](int a, const Bytes& r) -> std::optional<Bytes> { return book->AnswerPart(a, r); };
    for (const char* name : {"BA", "MS"})
        commands.AddCommand(name, [book](int, std::string_view c) { return book->AnswerBays(c); });
}

}  // namespace sim
