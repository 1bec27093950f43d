#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

// The words of the equation language: the 27 operator tokens with their device codes, the six
// named constants, and the parser's messages. An operator of a line is kept as its row in the
// token table, with kNegated added when a NOT follows it.
class EquationTokens {
public:
    enum Row : int {
        kNull = 0,
        kAssign = 1,
        kNot = 2,
        kAnd = 3,
        kXor = 4,
        kOr = 5,
        kIf = 6,
        kIff = 7,
        kEndIf = 8,
        kNotEqual = 9,
        kLessEqual = 10,
        kGreaterEqual = 11,
        kGreater = 12,
        kLess = 13,
        kEqual = 14,
        kPlus = 15,
        kMinus = 16,
        kTimes = 17,
        kDivide = 18,
        kPow = 19,
        kAbs = 20,
        kSqrt = 21,
        kSqr = 22,
        kExp = 23,
        kLn = 24,
        kLog = 25,
        kAnop = 26,
    };
    static constexpr int kRows = 27;
    // A device operator code that names no row decodes to this row.
    static constexpr int kUnknownRow = kRows;
    static constexpr int kNegated = 0x100;
    // The device code of "no operator" in an operator place.
    static constexpr uint16_t kNoOperatorCode = 256;
    // A negated AND, OR or XOR goes out as its code plus this.
    static constexpr uint16_t kNegatedCodeOffset = 4;

    enum class Class { Boolean, Arithmetic, Comparison, If };

    static std::string_view Text(int row);   // "" outside the table
    static uint16_t Code(int row);           // 0 outside the table
    static Class ClassOf(int row);
    // NOT, ABS, SQRT, SQR, LN and LOG: no operand stands before them.
    static bool IsUnary(int row);
    // The row whose text is exactly `token`, or -1.
    static int Find(std::string_view token);

    // The device code of an operator as a line holds it (row and negation), or nullopt for
    // none (0), a row outside the table, or a negation only AND, OR and XOR can carry.
    static std::optional<uint16_t> DeviceCode(int op);
    // The operator of a device code: 0 for "no operator", the first row from row 1 with the
    // code (268 reads as IF), a negated AND, OR or XOR for 281-283, else kUnknownRow.
    static int FromDeviceCode(uint32_t code);
    // What the expression text shows for an operator: its token, "AND NOT" for a negated AND,
    // "?" for anything outside the table.
    static std::string Render(int op);

    // Named constants: TRUE 1, FALSE 0, ON 1, OFF 0, PI, E. Rows 0-3 travel as byte
    // constants, 4 and 5 as floats.
    static constexpr int kNamedConstants = 6;
    static std::string_view ConstantName(int row);  // "" outside
    static double ConstantValue(int row);           // 0 outside
    static bool IsByteConstant(int row) { return row >= 0 && row < 4; }
    static int FindConstant(std::string_view token);  // row or -1

    // "PARSE OK" ... "ERROR WRITING TO FILE" for codes 0-12; "" outside.
    static std::string_view Message(int code);
};

}  // namespace qs
