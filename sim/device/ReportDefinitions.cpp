#include "device/ReportDefinitions.h"

namespace sim {

namespace {

constexpr size_t kKindAt = 30;
constexpr size_t kIdAt = 34;
constexpr size_t kFormatAt = 6;
constexpr size_t kFormatBytes = 14;
constexpr uint32_t kText = 0xFFF8;

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

void ReportDefinitions::Install(DataSetStore& store) {
    for (size_t slot = 0; slot < kReadCodes.size(); ++slot) {
        store.Keep({kReadCodes[slot], kWriteCodes[slot], false, &ReportDefinitions::Take});
    }
}

uint16_t ReportDefinitions::Take(const Bytes& written, Bytes& set) {
    if (!Check(written).empty()) return kBadFormat;
    set = written.substr(0, written.size() - 1);
    return 0;
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
