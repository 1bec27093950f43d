#include "sidedocs/equations/EquationSetParser.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "link/BlockEnvelope.h"
#include "sidedocs/equations/CEquationDoc.h"
#include "sidedocs/equations/EquationDestinations.h"
#include "sidedocs/equations/EquationRecord.h"
#include "sidedocs/equations/EquationSetPayload.h"

namespace qs {
namespace {

using Destinations = EquationDestinations;

using Envelope = BlockEnvelope;

struct Tables {
    std::vector<double> floats;
    std::vector<double> bytes;
};

// The tables from `pos` on, up to the 0, 0 that ends them.
std::string ReadTables(std::span<const uint8_t> data, size_t pos, Tables& tables) {
    while (true) {
        if (data.size() - pos < 4) return "the constant tables have no end";
        const uint32_t type = Envelope::U16At(data, pos);
        const uint32_t count = Envelope::U16At(data, pos + 2);
        pos += 4;
        if (type == 0 && count == 0) return "";
        const size_t width = type == EquationSetPayload::kByteTable ? 1 : 4;
        if (count * width > data.size() - pos) return "a constant table is longer than the set";
        for (uint32_t i = 0; i < count; ++i, pos += width) {
            if (width == 1) {
                tables.bytes.push_back(data[pos]);
                continue;
            }
            const uint32_t bits = Envelope::U32At(data, pos);
            float f = 0.0f;
            std::memcpy(&f, &bits, sizeof f);
            if (!std::isfinite(f)) return "a float constant is not a number";
            tables.floats.push_back(f);
        }
    }
}

// Constants and TEMP results in place of the indexes the device lines carry.
std::string Resolve(EquationList& lines, const Tables& tables) {
    int tempBools = 0;
    int tempFloats = 0;
    for (size_t li = 0; li < lines.size(); ++li) {
        CEquation& line = *lines[li];
        for (size_t i = 0; i < static_cast<size_t>(line.OperandCount()); ++i) {
            const int32_t kind = line.kinds[i];
            const double at = line.values[i];
            const std::string where = "line " + std::to_string(li + 1) + " names ";
            if (kind == CEquation::kByteConstant || kind == CEquation::kFloatConstant) {
                const std::vector<double>& table = kind == CEquation::kByteConstant ? tables.bytes : tables.floats;
                if (at >= static_cast<double>(table.size())) {
                    return where + "constant " + std::to_string(static_cast<uint32_t>(at)) + " of " +
                           std::to_string(table.size());
                }
                line.values[i] = table[static_cast<size_t>(at)];
            } else if (kind == CEquation::kTempBool || kind == CEquation::kTempFloat) {
                if (at >= static_cast<double>(lines.size())) {
                    return where + "line " + std::to_string(static_cast<uint32_t>(at) + 1) + " of " +
                           std::to_string(lines.size());
                }
                CEquation& named = *lines[static_cast<size_t>(at)];
                if (named.type == Destinations::kNotUsed) {
                    const bool isBool = kind == CEquation::kTempBool;
                    named.type = isBool ? Destinations::kTempBool : Destinations::kTempFloat;
                    named.index = static_cast<int16_t>(isBool ? ++tempBools : ++tempFloats);
                }
                line.values[i] = named.index;
            }
        }
    }
    return "";
}

}  // namespace

EquationSetParser::Result EquationSetParser::Parse(std::span<const uint8_t> data, const ParamDictionary& dictionary) {
    Result result;
    if (data.size() < EquationSetPayload::kHeaderBytes) {
        result.fault = "the set header is cut short";
        return result;
    }
    EquationList lines;
    EquationDecodeContext decoding{dictionary, 0, {}};
    size_t pos = EquationSetPayload::kHeaderBytes;
    while (true) {
        if (data.size() - pos < EquationRecord::kBytes) {
            result.fault = "the set has no end record";
            return result;
        }
        std::unique_ptr<CEquation> line =
            EquationRecord::Decode(std::span<const uint8_t, EquationRecord::kBytes>(data.data() + pos, EquationRecord::kBytes), decoding);
        pos += EquationRecord::kBytes;
        if (!decoding.fault.empty()) {
            result.fault = "line " + std::to_string(lines.size() + 1) + ": " + decoding.fault;
            return result;
        }
        if (!line) break;
        if (lines.size() == CEquationDoc::kMaxLines) {
            result.fault = "the set has more than " + std::to_string(CEquationDoc::kMaxLines) + " lines";
            return result;
        }
        lines.push_back(std::move(line));
    }
    Tables tables;
    result.fault = ReadTables(data, pos, tables);
    if (result.fault.empty()) result.fault = Resolve(lines, tables);
    if (!result.fault.empty()) return result;
    for (auto& line : lines) line->SetText(nullptr, dictionary);
    result.lines = std::move(lines);
    result.missingRegisters = decoding.missingRegisters;
    return result;
}

}  // namespace qs
