#include "device/ReportDefinitions.h"

#include <algorithm>
#include <memory>

namespace sim {

namespace {

constexpr size_t kKindAt = 30;
constexpr size_t kIdAt = 34;
constexpr size_t kFormatAt = 6;
constexpr size_t kFormatBytes = 14;
constexpr uint32_t kText = 0xFFF8;

std::optional<size_t> SlotOf(const std::array<uint16_t, 5>& codes, uint16_t code) {
    const auto it = std::find(codes.begin(), codes.end(), code);
    if (it == codes.end()) return std::nullopt;
    return static_cast<size_t>(it - codes.begin());
}

bool KnownKind(uint32_t kind) {
    return kind == 0xFFF2 || kind == 0xFFF3 || kind == 0xFFF7 || kind == kText || kind == 0xFFFC;
}

// What is wrong with the entry record at `at` that is the `texts`-th text so far, or "".
std::string CheckEntry(std::string_view body, size_t at, uint32_t texts) {
    const std::string where = "record at byte " + std::to_string(at);
    if (GetU16(body, at) == 0 || GetU16(body, at + 2) == 0) return where + ": line or column 0";
    if (ByteAt(body, at + 4) != 0 || ByteAt(body, at + 5) != 3) return where + ": bytes 4-5 are not 00 03";
    if (body.substr(at + kFormatAt, kFormatBytes).find('\0') == std::string_view::npos)
        return where + ": format without its zero byte";
    const uint32_t kind = GetU32(body, at + kKindAt);
    if (!KnownKind(kind)) return where + ": kind " + ToHex(body.substr(at + kKindAt, 4)) + " is not one a download sends";
    if (kind == kText && GetU32(body, at + kIdAt) != texts)
        return where + ": text index " + std::to_string(GetU32(body, at + kIdAt)) + " where " + std::to_string(texts) +
               " was due";
    return "";
}

}  // namespace

ReportDefinitions::ReportDefinitions(DataSetStore& store, BlockOptions options)
    : store_(store), blocks_(scratch_, options) {}

void ReportDefinitions::Install(DataSetStore& store, BlockOptions options, BlockTransfer::SpecialHandlers& handlers) {
    auto keeper = std::make_shared<ReportDefinitions>(store, options);
    auto handler = [keeper](int, const Bytes& request) { return keeper->Handle(request); };
    for (uint16_t code : kReadCodes) handlers[code] = handler;
    for (uint16_t code : kWriteCodes) handlers[code] = handler;
}

std::optional<Bytes> ReportDefinitions::Handle(const Bytes& request) {
    const uint16_t code = BlockTransfer::CodeOf(request);
    if (SlotOf(kWriteCodes, code)) return Write(code, request);
    return Read(code, request);
}

Bytes ReportDefinitions::Write(uint16_t code, const Bytes& request) {
    const BlockInfo info = blocks_.Classify(request);
    std::optional<Bytes> reply = blocks_.Handle(0, request);
    if (!reply) return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    const bool completed = info.kind == BlockKind::WriteData && !blocks_.WriteOpen() &&
                           GetU16(*reply, 5) == BlockTransfer::kOk;
    if (!completed) return *reply;
    const Bytes written = scratch_.Written(code).value_or(Bytes());
    if (!Check(written).empty()) return BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat);
    const uint16_t readCode = kReadCodes[*SlotOf(kWriteCodes, code)];
    if (!store_.Save(readCode, written.substr(0, written.size() - 1)).empty())
        return BlockTransfer::Head(code, BlockTransfer::kStorageFull);
    return *reply;
}

Bytes ReportDefinitions::Read(uint16_t code, const Bytes& request) {
    if (request.size() == 7 && GetU16(request, 5) == 0) {
        std::optional<Bytes> definition = store_.Written(code);
        if (!definition) definition = store_.Read(code);
        if (!definition) return BlockTransfer::Head(code, BlockTransfer::kNoConfiguration);
        scratch_.Put(code, std::move(*definition));
    }
    return blocks_.Handle(0, request).value_or(BlockTransfer::Head(code, BlockTransfer::kBadMessageFormat));
}

std::string ReportDefinitions::Check(std::string_view written) {
    if (written.size() < 3 * kRecord + 1) return "shorter than a header, a terminating record and the end byte";
    if (written.back() != '\0') return "no end byte";
    const std::string_view body = written.substr(0, written.size() - 1);
    if (GetU16(body, 0) != 1) return "header record number is not 1";
    if (ByteAt(body, 5) == 0 || ByteAt(body, 6) == 0) return "header without lines per page or columns";
    size_t at = kRecord;
    uint32_t texts = 0;
    for (;; at += kRecord) {
        if (at + kRecord > body.size()) return "no terminating record";
        const std::string_view record = body.substr(at, kRecord);
        if (GetU32(record, kKindAt) == 0) {
            if (record.find_first_not_of('\0') != std::string_view::npos) return "terminating record is not all zero";
            at += kRecord;
            break;
        }
        if (std::string fault = CheckEntry(body, at, texts); !fault.empty()) return fault;
        if (GetU32(record, kKindAt) == kText) ++texts;
    }
    for (uint32_t i = 0; i < texts; ++i) {
        const size_t end = body.find('\0', at);
        if (end == std::string_view::npos) return "text " + std::to_string(i) + " has no zero byte";
        at = end + 1;
    }
    if (at != body.size()) return std::to_string(body.size() - at) + " bytes after the texts";
    return "";
}

}  // namespace sim
