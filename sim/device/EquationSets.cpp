#include "device/EquationSets.h"

namespace sim {
namespace {

constexpr std::string_view kTag("EQUATIONS\0", 10);
constexpr size_t kTotalAt = 22;
constexpr size_t kKindsAt = 5;
constexpr size_t kValuesAt = 10;
constexpr size_t kOperands = 5;

bool KnownKind(uint8_t code) { return code == 0 || code == 10 || code == 12 || code == 20 || code == 25 || code == 253; }

EquationSets::Decoded Refuse(uint16_t status, std::string fault) {
    EquationSets::Decoded d;
    d.status = status;
    d.fault = std::move(fault);
    return d;
}

// The fault of a line's operands against the tables and the lines, "" when there is none.
std::string CheckOperands(std::string_view line, const EquationSets::Set& set) {
    bool ended = false;
    for (size_t i = 0; i < kOperands; ++i) {
        const uint8_t code = ByteAt(line, kKindsAt + i);
        if (!KnownKind(code)) return "operand kind " + std::to_string(code);
        if (code == 0) {
            ended = true;
            continue;
        }
        if (ended) return "an operand after the last";
        const uint32_t value = GetU32(line, kValuesAt + 4 * i);
        const size_t limit = code == 20 ? set.floats.size() : code == 25 ? set.bytes.size()
                                                            : code == 253 ? SIZE_MAX : set.lines.size();
        if (value >= limit) return "operand " + std::to_string(i + 1) + " names entry " + std::to_string(value);
    }
    return ByteAt(line, kKindsAt) == 0 ? "no operand" : "";
}

}  // namespace

EquationSets::Decoded EquationSets::Decode(std::string_view data) {
    if (data.size() > kMaxTotal) return Refuse(kTooLarge, "set of " + std::to_string(data.size()) + " bytes");
    if (data.size() < kHeaderBytes + kLineBytes + 4 + 1) return Refuse(kBadFormat, "shorter than an empty set");
    if (data.substr(0, kTag.size()) != kTag) return Refuse(kBadFormat, "no EQUATIONS tag");
    if (GetU16(data, kTotalAt) != data.size()) {
        return Refuse(kBadFormat, "header total " + std::to_string(GetU16(data, kTotalAt)) + " for " +
                                      std::to_string(data.size()) + " bytes");
    }
    if (data.back() != '\0') return Refuse(kBadFormat, "no closing 0x00");
    Set set;
    set.header = Bytes(data.substr(0, kHeaderBytes));
    size_t pos = kHeaderBytes;
    while (true) {
        if (data.size() - pos < kLineBytes) return Refuse(kBadFormat, "no end record");
        const std::string_view line = data.substr(pos, kLineBytes);
        pos += kLineBytes;
        const uint16_t number = GetU16(line, 0);
        if (number == 0 && GetU16(line, 2) == 0) break;
        if (number != set.lines.size() + 1 || GetU16(line, 2) != number) {
            return Refuse(kBadFormat, "line " + std::to_string(set.lines.size() + 1) + " numbered " + std::to_string(number));
        }
        set.lines.emplace_back(line);
    }
    const size_t tablesAt = pos;
    bool seenFloats = false;
    bool seenBytes = false;
    while (true) {
        if (data.size() - pos < 4) return Refuse(kBadFormat, "the tables have no end");
        const uint16_t type = GetU16(data, pos);
        const uint16_t count = GetU16(data, pos + 2);
        pos += 4;
        if (type == 0 && count == 0) break;
        bool& seen = type == kFloatTable ? seenFloats : seenBytes;
        if ((type != kFloatTable && type != kByteTable) || seen) return Refuse(kBadFormat, "table type " + std::to_string(type));
        seen = true;
        const size_t width = type == kFloatTable ? 4 : 1;
        if (count * width > data.size() - pos) return Refuse(kBadFormat, "a table runs past the set");
        for (size_t i = 0; i < count; ++i, pos += width) {
            if (width == 4) set.floats.push_back(GetU32(data, pos));
            else set.bytes.push_back(data[pos]);
        }
    }
    if (pos - tablesAt > kMaxTableBytes) return Refuse(kTooLarge, "tables of " + std::to_string(pos - tablesAt) + " bytes");
    if (data.size() - pos != 1) return Refuse(kBadFormat, "bytes after the tables");
    for (size_t i = 0; i < set.lines.size(); ++i) {
        if (std::string fault = CheckOperands(set.lines[i], set); !fault.empty()) {
            return Refuse(kBadFormat, "line " + std::to_string(i + 1) + ": " + fault);
        }
    }
    Decoded d;
    d.set = std::move(set);
    return d;
}

Bytes EquationSets::Encode(const Set& set) {
    Bytes out = set.header;
    for (const Bytes& line : set.lines) out += line;
    out.append(kLineBytes, '\0');
    if (!set.floats.empty()) {
        PutU16(out, kFloatTable);
        PutU16(out, static_cast<uint16_t>(set.floats.size()));
        for (uint32_t f : set.floats) PutU32(out, f);
    }
    if (!set.bytes.empty()) {
        PutU16(out, kByteTable);
        PutU16(out, static_cast<uint16_t>(set.bytes.size()));
        out += set.bytes;
    }
    out.append(4, '\0');
    return out;
}

uint16_t EquationSets::Take(const Bytes& written, Bytes& set) {
    Decoded d = Decode(written);
    if (!d.set) return d.status;
    set = Encode(*d.set);
    return 0;
}

void EquationSets::Install(DataSetStore& store) { store.Keep({kReadCode, kWriteCode, false, &EquationSets::Take}); }

}  // namespace sim
