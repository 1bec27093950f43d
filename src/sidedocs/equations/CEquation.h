#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/ArchiveObject.h"

namespace qs {

class ParamDictionary;
class CEquation;
struct EquationDecodeContext;
struct EquationEncodeContext;

// The lines of a set, in display and download order.
using EquationList = std::vector<std::unique_ptr<CEquation>>;

// What a line needs of the set around it while it is read or checked: the dictionary its
// registers resolve in, and the lines that define its TEMPBOOL and TEMPFLOAT operands.
struct EquationContext {
    const ParamDictionary& dictionary;
    const EquationList& lines;
};

// Where a parse stopped: its code (0 = "PARSE OK") and the character position of the token it
// stopped at in the text it was given.
struct EquationParseResult {
    int code = 0;
    size_t position = 0;
    bool Ok() const { return code == 0; }
};

// One line of an equation set: a comment, or a destination, an equals sign and an expression
// of up to five operands joined by up to four operators.
class CEquation final : public ArchiveObject {
public:
    static constexpr ArchiveClass kArchiveClass{"CEquation", 0};
    static constexpr int kPlaces = 5;
    static constexpr int kMaxOperators = 4;
    static constexpr size_t kRecordBytes = 50;
    // Longest comment a file may hold.
    static constexpr size_t kMaxCommentLength = 1024;
    static constexpr const char* kNewText = "New Equation";

    enum OperandKind : int32_t {
        kNone = 0,
        kNamedConstant = 1,  // value: row of the named constant
        kByteConstant = 2,   // value: 0-255
        kFloatConstant = 3,
        kRegister = 4,       // value: register id
        kDestination = 5,    // value: destination type x 256 + index
        kTempBool = 6,       // value: TEMPBOOL number
        kTempFloat = 7,      // value: TEMPFLOAT number
    };

    CEquation() = default;
    CEquation(const CEquation&) = default;
    CEquation& operator=(const CEquation&) = default;

    // Whether a value is one an operand of `kind` can have: what its text shows and its device
    // line carries (kind 0 takes any).
    static bool PlausibleValue(int32_t kind, double value);

    bool IsComment() const;
    // Operands up to the first of kind 0; operators up to the first 0.
    int OperandCount() const;
    int OperatorCount() const;

    // The expression as the expression edit shows it, and the text of one operand.
    std::string GetExpressionText() const;
    std::string FormatOperand(int place) const;
    // The line text: `text`, or (none given) the text rebuilt from the fields; a comment keeps
    // its text.
    void SetText(std::string text) { this->text = std::move(text); }
    void SetText(std::nullptr_t, const ParamDictionary& dictionary);

    // Normalises an entered expression in place; a comment line's text is left alone.
    bool NormalizeSpacing(std::string& entered) const;
    // Reads an expression into the operands and operators; on failure they stay as they were.
    EquationParseResult ParseExpression(std::string_view expression, const EquationContext& context);

    // Bytes of the download's constant tables this line takes.
    int GetConstantBytes() const;

    // The 50-byte device line with line number `number`, the line's constants added to the
    // context's tables. False when the line cannot be expressed (it has not been validated).
    bool EncodeRecord(std::span<uint8_t, kRecordBytes> record, int number, EquationEncodeContext& context) const;
    // A line of the device, owned by the caller; null for the end record, or for a record that
    // is not one this program can read (`context.fault` then says why).
    static std::unique_ptr<CEquation> DecodeRecord(std::span<const uint8_t, kRecordBytes> record,
                                                   EquationDecodeContext& context);

    // The file record.
    ArchiveClass GetArchiveClass() const override { return kArchiveClass; }
    void Store(ArchiveWriter& out) const override;
    void Load(ArchiveReader& in) override;
    // The classes a set file holds; lines of a revision-0 file are fixed up while they load.
    static ArchiveClassRegistry Registry(float fileRevision);

    std::string text = kNewText;
    int32_t type = 0;
    int16_t index = 0;
    int32_t disable = 0;
    std::array<double, kPlaces> values{};
    std::array<int32_t, kPlaces> kinds{};
    std::array<int32_t, kPlaces> operators{};

private:
    bool legacyFile_ = false;
};

}  // namespace qs
