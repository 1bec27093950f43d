#include "sidedocs/equations/EquationRecord.h"

#include <algorithm>
#include <optional>

#include "link/BlockEnvelope.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/equations/EquationDestinations.h"
#include "sidedocs/equations/EquationTokens.h"

namespace qs {
namespace {

using Tokens = EquationTokens;
using Destinations = EquationDestinations;
using Envelope = BlockEnvelope;

struct Slot {
    uint8_t code = 0;
    uint32_t value = 0;
};

uint32_t Index(size_t size) { return static_cast<uint32_t>(size); }

// The operand as it goes out, its constant added to its table.
std::optional<Slot> EncodeOperand(int32_t kind, double value, EquationEncodeContext& context) {
    if (!CEquation::PlausibleValue(kind, value)) return std::nullopt;
    switch (kind) {
    case CEquation::kNamedConstant: {
        const int row = static_cast<int>(value);
        if (Tokens::IsByteConstant(row)) {
            context.byteConstants.push_back({Tokens::ConstantValue(row)});
            return Slot{EquationRecord::kCodeByte, Index(context.byteConstants.size() - 1)};
        }
        if (Tokens::ConstantName(row).empty()) return std::nullopt;
        context.floatConstants.push_back({Tokens::ConstantValue(row)});
        return Slot{EquationRecord::kCodeFloat, Index(context.floatConstants.size() - 1)};
    }
    case CEquation::kByteConstant:
        context.byteConstants.push_back({value});
        return Slot{EquationRecord::kCodeByte, Index(context.byteConstants.size() - 1)};
    case CEquation::kFloatConstant:
        context.floatConstants.push_back({value});
        return Slot{EquationRecord::kCodeFloat, Index(context.floatConstants.size() - 1)};
    case CEquation::kRegister: {
        // The device counts register instances from 0.
        uint32_t id = static_cast<uint32_t>(value);
        if ((id & 0xFF) != 0) --id;
        return Slot{EquationRecord::kCodeRegister, id};
    }
    case CEquation::kDestination: {
        const int packed = static_cast<int>(value);
        return Slot{EquationRecord::kCodeRegister, Destinations::RegisterId(packed >> 8, packed & 0xFF)};
    }
    case CEquation::kTempBool:
    case CEquation::kTempFloat: {
        const int type = kind == CEquation::kTempBool ? Destinations::kTempBool : Destinations::kTempFloat;
        const int position = EquationRecord::FindLinePosition(context.lines, type, static_cast<int>(value));
        if (position == 0) return std::nullopt;
        return Slot{kind == CEquation::kTempBool ? EquationRecord::kCodeTempBool : EquationRecord::kCodeTempFloat,
                    Index(static_cast<size_t>(position - 1))};
    }
    default:
        return std::nullopt;
    }
}

}  // namespace

int EquationRecord::FindLinePosition(const EquationList& lines, int type, int index) {
    int position = 0;
    for (const auto& line : lines) {
        if (line->IsComment()) continue;
        ++position;
        if (static_cast<int16_t>(line->type) == static_cast<int16_t>(type) && line->index == static_cast<int16_t>(index)) {
            return position;
        }
    }
    return 0;
}

bool EquationRecord::Encode(const CEquation& line, std::span<uint8_t, kBytes> record, int number,
                            EquationEncodeContext& context) {
    std::vector<Slot> operands;
    const int n = line.OperandCount();
    if (n == 0 || line.IsComment()) return false;
    for (int i = 0; i < n; ++i) {
        const std::optional<Slot> slot = EncodeOperand(line.kinds[static_cast<size_t>(i)], line.values[static_cast<size_t>(i)], context);
        if (!slot) return false;
        operands.push_back(*slot);
    }
    std::vector<uint32_t> operators;
    const int m = line.OperatorCount();
    for (int i = 0; i < m; ++i) {
        const std::optional<uint16_t> code = Tokens::DeviceCode(line.operators[static_cast<size_t>(i)]);
        if (!code) return false;
        operators.push_back(*code);
    }

    const bool toRegister = Destinations::HasRegister(line.type);
    // A lone operand still needs an operation: a condition for a TEMPBOOL, a plain copy
    // otherwise. A register destination brings its own assignment.
    if (n == 1 && m == 0 && !toRegister) {
        operators.push_back(Tokens::Code(line.type == Destinations::kTempBool ? Tokens::kIf : Tokens::kAnop));
    }
    // "condition IF expression" goes out as "expression IF condition"; a line whose only
    // operator is IF goes out as it stands.
    if (m >= 2 && line.operators[0] == Tokens::kIf) {
        std::rotate(operands.begin(), operands.begin() + 1, operands.end());
        std::rotate(operators.begin(), operators.begin() + 1, operators.end());
    }
    if (toRegister) {
        operators.push_back(Tokens::Code(Tokens::kAssign));
        operands.push_back({kCodeRegister, Destinations::RegisterId(line.type, line.index)});
    }
    if (operators.size() > static_cast<size_t>(kOperatorPlaces) || operands.size() > static_cast<size_t>(CEquation::kPlaces)) {
        return false;
    }
    operands.resize(CEquation::kPlaces);
    operators.resize(kOperatorPlaces, Tokens::kNoOperatorCode);

    std::vector<uint8_t> out;
    Envelope::PutU16(out, static_cast<uint16_t>(number));
    Envelope::PutU16(out, static_cast<uint16_t>(number));
    out.push_back(line.disable == 0 ? 1 : 0);
    for (const Slot& o : operands) out.push_back(o.code);
    for (const Slot& o : operands) Envelope::PutU32(out, o.value);
    for (uint32_t op : operators) Envelope::PutU32(out, op);
    out.resize(kBytes, 0);
    std::copy(out.begin(), out.end(), record.begin());
    return true;
}

std::unique_ptr<CEquation> EquationRecord::Decode(std::span<const uint8_t, kBytes> record,
                                                  EquationDecodeContext& context) {
    context.fault.clear();
    if (Envelope::U16At(record, 0) == 0 && Envelope::U16At(record, 2) == 0) return nullptr;

    struct Operand {
        int32_t kind = 0;
        uint32_t value = 0;
        bool found = true;  // registers: the dictionary holds it
    };
    std::vector<Operand> operands;
    for (size_t i = 0; i < static_cast<size_t>(CEquation::kPlaces); ++i) {
        const uint8_t code = record[kKindsAt + i];
        if (code == kCodeNone) break;
        Operand o;
        o.value = Envelope::U32At(record, kValuesAt + 4 * i);
        switch (code) {
        case kCodeTempBool: o.kind = CEquation::kTempBool; break;
        case kCodeTempFloat: o.kind = CEquation::kTempFloat; break;
        case kCodeFloat: o.kind = CEquation::kFloatConstant; break;
        case kCodeByte: o.kind = CEquation::kByteConstant; break;
        case kCodeRegister: o.kind = CEquation::kRegister; break;
        default:
            context.fault = "operand kind code " + std::to_string(code) + " is not known";
            return nullptr;
        }
        if (o.kind == CEquation::kRegister) {
            const CParam* entry = context.dictionary.FindParamByRegisterId(o.value);
            if (!entry) {
                ++context.missingRegisters;
                o.value = 0;
                o.found = false;
            } else if (entry->instances > 0) {
                o.value = (o.value & ~0xFFu) | ((o.value + 1) & 0xFFu);
            }
        }
        operands.push_back(o);
    }
    if (operands.empty()) {
        context.fault = "a line has no operand";
        return nullptr;
    }
    std::vector<int32_t> operators;
    for (size_t i = 0; i < static_cast<size_t>(kOperatorPlaces); ++i) {
        const int op = Tokens::FromDeviceCode(Envelope::U32At(record, kOperatorsAt + 4 * i));
        if (op == 0) break;
        operators.push_back(op);
    }

    auto line = std::make_unique<CEquation>();
    line->disable = record[4] == 0 ? 1 : 0;
    line->type = Destinations::kNotUsed;
    // The assignment to a register at the end is the destination, when it is one a line can
    // name; any other stays in the expression, where it shows and is refused.
    if (!operators.empty() && operators.back() == Tokens::kAssign && operands.back().kind == CEquation::kRegister &&
        operands.back().found) {
        if (auto destination = Destinations::FromRegister(operands.back().value)) {
            line->type = destination->type;
            line->index = static_cast<int16_t>(destination->index);
            operators.pop_back();
            operands.pop_back();
        }
    }
    if (operands.size() == 1 && operators.size() == 1 &&
        (operators[0] == Tokens::kIf || operators[0] == Tokens::kAnop)) {
        operators.clear();
    }
    for (size_t k = 1; k < operators.size(); ++k) {
        if (operators[k] != Tokens::kIf) continue;
        operators.erase(operators.begin() + static_cast<std::ptrdiff_t>(k));
        operators.insert(operators.begin(), Tokens::kIf);
        std::rotate(operands.rbegin(), operands.rbegin() + 1, operands.rend());
        break;
    }
    for (size_t i = 0; i < operands.size(); ++i) {
        const Operand& o = operands[i];
        line->kinds[i] = o.kind;
        line->values[i] = o.value;
        if (o.kind == CEquation::kRegister && o.found) {
            if (auto named = Destinations::OperandFromRegister(o.value)) {
                line->kinds[i] = CEquation::kDestination;
                line->values[i] = named->type * 256 + named->index;
            }
        }
    }
    for (size_t i = 0; i < operators.size(); ++i) line->operators[i] = operators[i];
    return line;
}

}  // namespace qs
