#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "dictgen/Diagnostic.h"

namespace qs::litgen {

using dictgen::Diagnostic;

// One revision's edit list as the source gives it.
struct EditRow {
    std::string revision;  // as written, "11.25"
    float value = 0.0f;    // the row of the revision table it names
    std::vector<int> edits;
    int line = 0;
};

// The literal table and the edit lists read from their source files and checked: the table
// must hold exactly the literal table's size with the sentinel last, each text printable ASCII
// of at most 135 characters, numbered 0, 1, 2, ... in order; each edit list must name a
// revision of the revision table other than the last, once, with edits that are not 0, within
// the table's size and in the order the upgrade walk takes them.
struct LiteralSource {
    std::vector<std::string> texts;
    std::vector<EditRow> editRows;

    // Reads and checks; every fault found is added to `errors` (file names as given).
    static LiteralSource Parse(std::string_view literalsName, std::string_view literals, std::string_view editsName,
                               std::string_view edits, std::vector<Diagnostic>& errors);

    // The C++ source that defines the table and the edit lists (LiteralData.h).
    std::string EmitCpp() const;
};

}  // namespace qs::litgen
