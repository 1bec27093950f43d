#include "sidedocs/equations/CEquation.h"

#include <algorithm>
#include <cmath>

#include "platform/ArchiveError.h"
#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "sidedocs/equations/EquationDestinations.h"
#include "sidedocs/equations/EquationParser.h"
#include "sidedocs/equations/EquationRecord.h"
#include "sidedocs/equations/EquationText.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs {
namespace {

// Files of revision 0 numbered the destinations from 82 on 40 lower.
constexpr int kLegacyLastType = 41;
constexpr int kLegacyTypeShift = 40;
constexpr int64_t kLegacyLastPacked = 0x2900;

bool Whole(double v, double low, double high) { return v >= low && v <= high && v == std::trunc(v); }

bool PlausibleOperator(int32_t op) {
    return (op & ~(EquationTokens::kNegated | 0xFF)) == 0 && (op & 0xFF) < EquationTokens::kRows;
}

}  // namespace

bool CEquation::PlausibleValue(int32_t kind, double v) {
    if (kind == CEquation::kNone) return true;
    if (!std::isfinite(v)) return false;
    switch (kind) {
    case CEquation::kNamedConstant: return Whole(v, 0, EquationTokens::kNamedConstants - 1);
    case CEquation::kByteConstant: return Whole(v, 0, 255);
    case CEquation::kFloatConstant: return true;
    case CEquation::kRegister: return Whole(v, 0, 4294967295.0);
    case CEquation::kDestination: return Whole(v, 0, EquationDestinations::kTypes * 256.0 - 1);
    case CEquation::kTempBool:
    case CEquation::kTempFloat: return Whole(v, INT32_MIN, INT32_MAX);
    default: return false;
    }
}

bool CEquation::IsComment() const { return type == EquationDestinations::kComment; }

int CEquation::OperandCount() const {
    int n = 0;
    while (n < kPlaces && kinds[static_cast<size_t>(n)] != kNone) ++n;
    return n;
}

int CEquation::OperatorCount() const {
    int n = 0;
    while (n < kPlaces && operators[static_cast<size_t>(n)] != 0) ++n;
    return n;
}

std::string CEquation::GetExpressionText() const { return EquationText::Expression(*this); }

std::string CEquation::FormatOperand(int place) const { return EquationText::Operand(*this, place); }

void CEquation::SetText(std::nullptr_t, const ParamDictionary& dictionary) {
    if (!IsComment()) text = EquationText::Line(*this, dictionary);
}

bool CEquation::NormalizeSpacing(std::string& entered) const {
    if (!IsComment()) entered = EquationParser::Normalize(entered);
    return true;
}

EquationParseResult CEquation::ParseExpression(std::string_view expression, const EquationContext& context) {
    return EquationParser::Parse(expression, context, *this);
}

int CEquation::GetConstantBytes() const {
    int bytes = 0;
    for (int i = 0; i < OperandCount(); ++i) {
        const int32_t kind = kinds[static_cast<size_t>(i)];
        if (kind == kByteConstant) bytes += 1;
        else if (kind == kFloatConstant) bytes += 4;
        else if (kind == kNamedConstant) bytes += EquationTokens::IsByteConstant(static_cast<int>(values[static_cast<size_t>(i)])) ? 1 : 4;
    }
    return bytes;
}

bool CEquation::EncodeRecord(std::span<uint8_t, kRecordBytes> record, int number, EquationEncodeContext& context) const {
    return EquationRecord::Encode(*this, record, number, context);
}

std::unique_ptr<CEquation> CEquation::DecodeRecord(std::span<const uint8_t, kRecordBytes> record,
                                                   EquationDecodeContext& context) {
    return EquationRecord::Decode(record, context);
}

void CEquation::Store(ArchiveWriter& out) const {
    out.WriteI32(type);
    if (IsComment()) {
        out.WriteString(std::string_view(text).substr(0, kMaxCommentLength));
        return;
    }
    out.WriteI16(index);
    for (size_t i = 0; i < static_cast<size_t>(kPlaces); ++i) {
        out.WriteDouble(values[i]);
        out.WriteI32(kinds[i]);
        out.WriteI32(operators[i]);
    }
    out.WriteI32(disable);
}

void CEquation::Load(ArchiveReader& in) {
    int64_t t = in.ReadI32();
    if (legacyFile_ && t > kLegacyLastType) t += kLegacyTypeShift;
    if (!EquationDestinations::Valid(static_cast<int>(std::min<int64_t>(t, INT32_MAX)))) {
        throw ArchiveError(ArchiveFault::BadIndex, "equation line of type " + std::to_string(t));
    }
    type = static_cast<int32_t>(t);
    if (IsComment()) {
        text = in.ReadString(kMaxCommentLength);
        legacyFile_ = false;
        return;
    }
    index = in.ReadI16();
    for (size_t i = 0; i < static_cast<size_t>(kPlaces); ++i) {
        double v = in.ReadDouble();
        const int32_t kind = in.ReadI32();
        const int32_t op = in.ReadI32();
        if (legacyFile_ && kind == kDestination && std::isfinite(v) && std::fabs(v) < 1e9 &&
            (static_cast<int64_t>(v) & ~int64_t{0xFF}) > kLegacyLastPacked) {
            v += kLegacyTypeShift * 256;
        }
        if (!PlausibleValue(kind, v)) throw ArchiveError(ArchiveFault::BadIndex, "equation operand out of range");
        if (!PlausibleOperator(op)) throw ArchiveError(ArchiveFault::BadIndex, "equation operator out of range");
        values[i] = v;
        kinds[i] = kind;
        operators[i] = op;
    }
    disable = in.ReadI32();
    legacyFile_ = false;
}

ArchiveClassRegistry CEquation::Registry(float fileRevision) {
    const bool legacy = fileRevision == 0.0f;
    ArchiveClassRegistry registry;
    registry.Add(std::string(kArchiveClass.name), kArchiveClass.schema, [legacy] {
        auto line = std::make_unique<CEquation>();
        line->legacyFile_ = legacy;
        return std::unique_ptr<ArchiveObject>(std::move(line));
    });
    return registry;
}

}  // namespace qs
