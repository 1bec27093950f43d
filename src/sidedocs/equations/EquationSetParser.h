#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "sidedocs/equations/CEquation.h"

namespace qs {

class ParamDictionary;

// Reads the equation set the controller returns: the 30-byte set header, device lines up to
// the end record, then the constant tables (a type and a count each, 0 and 0 at the end). The
// constants and the lines that operands name are put in place, the lines that name no
// destination but are named as TEMPBOOL or TEMPFLOAT results are numbered as such, and every
// line gets its text. Bytes after the tables are not looked at.
class EquationSetParser {
public:
    struct Result {
        EquationList lines;
        // Why the set cannot be taken ("" when it can).
        std::string fault;
        // Register operands the dictionary does not hold (each kept as register 0).
        int missingRegisters = 0;
        bool Ok() const { return fault.empty(); }
    };

    static Result Parse(std::span<const uint8_t> data, const ParamDictionary& dictionary);
};

}  // namespace qs
