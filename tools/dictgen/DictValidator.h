#pragma once
#include <string>
#include <vector>

#include "dictgen/Diagnostic.h"
#include "dictgen/DictEntry.h"
#include "dictgen/DirectoryTable.h"

namespace qs::dictgen {

// The rules a dictionary source must keep so that the files built from it read back the same
// in the program, on the device and in the simulated controller.
class DictValidator {
public:
    // Limits of one block: field sizes, ranges, a format that fits the data type, options that
    // match the option flag and maximum, a default within the range.
    static void CheckEntry(const DictEntry& entry, std::vector<Diagnostic>& errors);

    // Codes of one directory: unique numbers that the device walk reaches and that the
    // program both lists and looks up in the same subdirectory.
    static void CheckDirectory(const DirectoryInfo& directory, const std::vector<const DictEntry*>& codes,
                               std::vector<Diagnostic>& errors);

    // All blocks together: each register (dictionary directory, data type, position) defined
    // once, or by codes of different directories that agree in every field; positions of each
    // (dictionary directory, data type) running from 0 without gaps.
    static void CheckRegisters(const std::vector<const DictEntry*>& all, std::vector<Diagnostic>& errors);

    // Whether a printf format has exactly one conversion, with a width taken from the
    // argument list (and a precision for real types), of the kind the data type's value is
    // passed as. Empty result: it fits; otherwise why not.
    static std::string CheckFormat(const std::string& format, int dataType);
};

}  // namespace qs::dictgen
