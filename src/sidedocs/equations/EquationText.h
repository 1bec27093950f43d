#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace qs {

class CEquation;
class ParamDictionary;

// The texts of a line: its expression as the expression edit shows it (and the parser reads it
// back), and the line text the list shows.
class EquationText {
public:
    // The operands and operators in order, separated by blanks: a unary operator before its
    // operand, a negated operator as "AND NOT", anything outside the tables as "?".
    static std::string Expression(const CEquation& line);
    static std::string Operand(const CEquation& line, int place);
    // A float constant so that it reads back as a float of the same value: the shortest text
    // of its 32-bit value when it has one (the device keeps no more), else of its 64-bit value;
    // always with a decimal point or an exponent.
    static std::string Float(double value);
    // The line text: ";  " and the comment, "Set User Alarm <expression>", "<name><index> =
    // <expression>", or "<name> = <expression>" for "not used"; registers by their names.
    static std::string Line(const CEquation& line, const ParamDictionary& dictionary);
    // "Arm 2 Meter Run Data(3) Gross Volume" and the like for a register id; "???" for one the
    // dictionary lacks.
    static std::string RegisterName(uint32_t id, const ParamDictionary& dictionary);
};

// The register text of a token "@" + decimal id; any other token upper-cased.
std::string FormatRegisterReference(std::string_view token, const ParamDictionary& dictionary);

}  // namespace qs
