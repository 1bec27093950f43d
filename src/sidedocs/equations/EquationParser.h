#pragma once
#include <string>
#include <string_view>

#include "sidedocs/equations/CEquation.h"

namespace qs {

// Reads the expression language: the spacing of an entered line, the tokens and their order,
// and the check of a whole line before it is sent.
class EquationParser {
public:
    enum Code : int {
        kOk = 0,
        kNoValue = 1,
        kUnrecognized = 2,
        kInvalidRegister = 3,
        kIndexOutOfRange = 4,
        kSyntaxError = 5,
        kMissingOperand = 6,
        kTooManyOperations = 8,
        kTempUndefined = 9,
        kOperatorBeforeIf = 10,
    };
    // Lines whose result goes to a register have room for one operator less: the download adds
    // the assignment.
    static constexpr int kMaxOperatorsToRegister = 3;
    static constexpr int kMaxTempNumber = 32767;

    // Upper case; blanks around every operator symbol (two-character ones kept whole) and
    // around operator words that start at a token boundary (longest first); a minus directly
    // before a digit stays with its number, and so does an exponent; one blank between tokens.
    static std::string Normalize(std::string_view text);

    // The tokens of `text` into the operands and operators of `out` (which keeps its other
    // fields, and keeps all of them when the parse fails).
    static EquationParseResult Parse(std::string_view text, const EquationContext& context, CEquation& out);

    // A line as it would be sent: its destination and index in range, and its expression text
    // read back by the parser with no more operators than its destination has room for.
    // `checked` gets the line as read back (what the download sends).
    static EquationParseResult Validate(const CEquation& line, const EquationContext& context, CEquation& checked);
};

}  // namespace qs
