#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "sidedocs/equations/CEquation.h"

namespace qs {

class ParamDictionary;

// One constant of a download's tables.
struct Const {
    double value = 0.0;
};

// What encoding the lines of one download shares: the set whose TEMPBOOL and TEMPFLOAT lines
// the operands name, and the two constant tables the lines fill in order.
struct EquationEncodeContext {
    const EquationList& lines;
    std::vector<Const> floatConstants;
    std::vector<Const> byteConstants;
};

// What decoding the lines of one upload needs and finds: the dictionary the registers resolve
// in, the count of registers it does not hold, and why a record could not be read.
struct EquationDecodeContext {
    const ParamDictionary& dictionary;
    int missingRegisters = 0;
    std::string fault;
};

// The 50-byte device line (big-endian): line number twice, an enable byte, five operand kind
// codes, five 32-bit operand values, four 32-bit operator codes, four zero bytes.
class EquationRecord {
public:
    static constexpr size_t kBytes = CEquation::kRecordBytes;
    static constexpr size_t kKindsAt = 5;
    static constexpr size_t kValuesAt = 10;
    static constexpr size_t kOperatorsAt = 30;
    static constexpr int kOperatorPlaces = 4;

    // Operand kind codes of the device line.
    static constexpr uint8_t kCodeNone = 0;
    static constexpr uint8_t kCodeTempBool = 10;
    static constexpr uint8_t kCodeTempFloat = 12;
    static constexpr uint8_t kCodeFloat = 20;
    static constexpr uint8_t kCodeByte = 25;
    static constexpr uint8_t kCodeRegister = 253;

    static bool Encode(const CEquation& line, std::span<uint8_t, kBytes> record, int number,
                       EquationEncodeContext& context);
    static std::unique_ptr<CEquation> Decode(std::span<const uint8_t, kBytes> record, EquationDecodeContext& context);

    // The 1-based position, among the lines that are not comments, of the first line with this
    // destination (both compared as 16-bit values); 0 when there is none.
    static int FindLinePosition(const EquationList& lines, int type, int index);
};

}  // namespace qs
