#include "sidedocs/equations/EquationSetPayload.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "link/BlockEnvelope.h"
#include "sidedocs/equations/CEquationDoc.h"
#include "sidedocs/equations/EquationParser.h"
#include "sidedocs/equations/EquationRecord.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs {
namespace {

constexpr uint8_t kHeaderFormat = 5;
constexpr uint16_t kHeaderTag = 500;

void PutU16(std::vector<uint8_t>& out, size_t v) { BlockEnvelope::PutU16(out, static_cast<uint16_t>(v)); }

uint32_t FloatBits(double value) {
    // Lines are checked before they are encoded; a value past the float range would still go
    // out as the nearest float rather than through an overflowing cast.
    const double limit = std::numeric_limits<float>::max();
    const float f = static_cast<float>(std::clamp(value, -limit, limit));
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

std::vector<uint8_t> Tables(std::vector<Const> floats, std::vector<Const> bytes) {
    std::vector<uint8_t> out;
    if (!floats.empty()) {
        PutU16(out, EquationSetPayload::kFloatTable);
        PutU16(out, static_cast<uint32_t>(floats.size()));
        for (const Const& c : floats) BlockEnvelope::PutU32(out, FloatBits(c.value));
    }
    if (!bytes.empty()) {
        // The tables keep an even length.
        if (bytes.size() % 2 != 0) bytes.push_back({0.0});
        PutU16(out, EquationSetPayload::kByteTable);
        PutU16(out, static_cast<uint32_t>(bytes.size()));
        for (const Const& c : bytes) out.push_back(static_cast<uint8_t>(static_cast<int64_t>(std::trunc(c.value)) & 0xFF));
    }
    out.insert(out.end(), 4, 0);
    return out;
}

std::vector<uint8_t> Header(const CEquationDoc& doc, uint32_t total) {
    std::vector<uint8_t> out(20, 0);
    std::memcpy(out.data(), "EQUATIONS", 9);
    out.push_back(doc.DisableFlag() == 0 ? 1 : 0);
    out.push_back(kHeaderFormat);
    PutU16(out, total);
    PutU16(out, static_cast<uint32_t>(std::min<size_t>(doc.Lines().size(), 0xFFFF)));
    PutU16(out, kHeaderTag);
    PutU16(out, 0);
    return out;
}

}  // namespace

uint32_t EquationSetPayload::Total() const {
    size_t total = header.size() + EquationRecord::kBytes + tables.size() + 1;
    for (const auto& line : lines) total += line.size();
    return static_cast<uint32_t>(total);
}

std::optional<EquationSetPayload> EquationSetPayload::Build(const CEquationDoc& doc, std::string& refusal) {
    EquationSetPayload payload;
    EquationEncodeContext encoding{doc.Lines(), {}, {}};
    const EquationContext context = doc.Context();
    int number = 0;
    for (size_t i = 0; i < doc.Lines().size(); ++i) {
        const CEquation& line = *doc.Lines()[i];
        if (line.IsComment()) continue;
        // What goes out is the line as its text reads back, checked again now: a TEMPBOOL or
        // TEMPFLOAT it names may have gone since it was edited.
        CEquation checked;
        EquationParseResult result = EquationParser::Validate(line, context, checked);
        std::vector<uint8_t> record(EquationRecord::kBytes);
        if (result.Ok() && !checked.EncodeRecord(std::span<uint8_t, EquationRecord::kBytes>(record), number + 1, encoding)) {
            result.code = EquationParser::kSyntaxError;
        }
        if (!result.Ok()) {
            refusal = "Equation line " + std::to_string(i + 1) + ": Error " + std::to_string(result.code) + " - " +
                      std::string(EquationTokens::Message(result.code));
            return std::nullopt;
        }
        payload.lines.push_back(std::move(record));
        ++number;
    }
    if (number == 0) {
        refusal = kAllComments;
        return std::nullopt;
    }
    payload.tables = Tables(std::move(encoding.floatConstants), std::move(encoding.byteConstants));
    if (payload.tables.size() > kMaxTableBytes) {
        refusal = kTooManyConstants;
        return std::nullopt;
    }
    // The total fits the header's 16 bits once it is within the limit.
    payload.header.assign(kHeaderBytes, 0);
    if (payload.Total() > kMaxTotal) {
        refusal = kTooLarge;
        return std::nullopt;
    }
    payload.header = Header(doc, payload.Total());
    return payload;
}

}  // namespace qs
