#include "appmodel/logs/LogRecordFormatter.h"

#include <algorithm>

#include "appmodel/logs/LogTimeStamp.h"
#include "platform/SafeFormat.h"

namespace qs {

namespace {

// "%f" in the C locale (a decimal point whatever the desktop's locale says).
std::string Real(double v) { return SafeFormat("%f", FormatArg::Real(v)).value_or(std::string()); }

std::string Number(uint64_t v) { return std::to_string(v); }

// The first `count` names of a list (at most `slots`), each that is not empty followed by a blank.
std::string Names(const LogPayload& p, size_t at, size_t width, unsigned count, int slots) {
    std::string out;
    const unsigned used = std::min<unsigned>(count, static_cast<unsigned>(slots));
    for (unsigned i = 0; i < used; ++i) {
        const std::string name = p.Text(at + i * width, width);
        if (!name.empty()) out += name + " ";
    }
    return out;
}

void CommaFloats(std::string& out, const LogPayload& p, size_t at, int count) {
    for (int i = 0; i < count; ++i) out += "," + Real(p.F32(at + 4 * static_cast<size_t>(i)));
}

void CommaDoubles(std::string& out, const LogPayload& p, size_t at, int count) {
    for (int i = 0; i < count; ++i) out += "," + Real(p.F64(at + 8 * static_cast<size_t>(i)));
}

void CommaTexts(std::string& out, const LogPayload& p, size_t at, size_t width, int count) {
    for (int i = 0; i < count; ++i) out += "," + p.Text(at + width * static_cast<size_t>(i), width);
}

std::optional<std::string> Entry(uint32_t sequence, const LogPayload& p, size_t textBytes) {
    if (!p.Has(textBytes + LogTimeStamp::kBytes + 2)) return std::nullopt;
    return Number(sequence) + "," + Number(p.U16(textBytes + LogTimeStamp::kBytes)) + "," +
           LogTimeStamp::Format(p, textBytes) + p.Text(0, textBytes);
}

}  // namespace

uint16_t LogRecordFormatter::BatchCount(const LogPayload& header) { return header.U16(6); }

std::optional<std::string> LogRecordFormatter::TransactionHeader(const LogPayload& p) {
    if (!p.Has(kHeaderBytes)) return std::nullopt;
    std::string out = Number(p.U16(0)) + "," + Number(p.U16(4)) + "," + Number(BatchCount(p)) + ",";
    out += LogTimeStamp::Format(p, 8);
    for (size_t i = 0; i < 5; ++i) out += Number(p.U32(24 + 4 * i)) + ",";
    const uint16_t names = p.U16(44);
    out += Number(names) + ",";
    out += Names(p, 46, 10, names, kHeaderNameSlots);
    CommaFloats(out, p, 246, 6);
    CommaDoubles(out, p, 270, 24);
    CommaDoubles(out, p, 462, 5);
    CommaDoubles(out, p, 502, 6 * 5);
    // 742: 22 bytes not written.
    CommaTexts(out, p, 764, 22, 1);
    CommaTexts(out, p, 786, 20, 5);
    CommaTexts(out, p, 886, 48, 1);
    CommaTexts(out, p, 934, 32, 3);
    CommaTexts(out, p, 1030, 32, 1);
    out += "," + p.TextToEnd(kHeaderBytes);
    return out;
}

std::optional<std::string> LogRecordFormatter::TransactionExtra(const LogPayload& p) {
    if (!p.Has(kExtraBytes)) return std::nullopt;
    std::string out;
    for (size_t i = 0; i < 5; ++i) out += "," + Number(p.U16(4 + 2 * i));
    CommaFloats(out, p, 14, 5);
    CommaTexts(out, p, 34, 32, 8);
    return out;
}

std::optional<std::string> LogRecordFormatter::Batch(const LogPayload& p) {
    if (!p.Has(kBatchBytes)) return std::nullopt;
    std::string out = " Batch " + Number(p.U16(0)) + ",";
    for (size_t i = 0; i < 3; ++i) out += Number(p.U16(4 + 2 * i)) + ",";
    out += Number(p.U32(10)) + ",";
    for (size_t i = 0; i < 7; ++i) out += Real(p.F32(14 + 4 * i)) + ",";
    for (size_t i = 0; i < 6 + 24; ++i) out += Real(p.F64(42 + 8 * i)) + ",";
    const uint16_t names = p.U16(282);
    out += Number(names) + ",";
    out += Names(p, 284, 8, names, kBatchNameSlots);
    for (size_t group = 0; group < 6; ++group) {
        const size_t at = 364 + 96 * group;
        CommaFloats(out, p, at, 12);
        CommaDoubles(out, p, at + 48, 6);
    }
    CommaFloats(out, p, 940, 2);
    out += "," + Number(p.U16(948));
    CommaDoubles(out, p, 950, 4 * 3);
    return out;
}

std::optional<std::string> LogRecordFormatter::BayTotals(const LogPayload& p) {
    if (!p.Has(kBayTotalsBytes)) return std::nullopt;
    std::string out = kBayTotalsLead;
    for (size_t i = 0; i < kBayTotals; ++i) out += Real(p.F64(4 + 8 * i)) + ",";
    return out;
}

std::optional<std::string> LogRecordFormatter::EventEntry(uint32_t sequence, const LogPayload& p) {
    return Entry(sequence, p, 92);
}

std::optional<std::string> LogRecordFormatter::AuditEntry(uint32_t sequence, const LogPayload& p) {
    return Entry(sequence, p, 72);
}

}  // namespace qs
