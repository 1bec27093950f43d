#pragma once
#include <string>
#include <vector>

#include "dictgen/Diagnostic.h"
#include "dictgen/DictEntry.h"

namespace qs::dictgen {

// One source file: its path (for messages), its stem ("System", "Bay A", "Registers") and text.
struct DictSource {
    std::string path;
    std::string stem;
    std::string text;
};

struct DictOutput {
    std::string name;   // "PARAM.DAT", "Bay A.SD3", ...
    std::string bytes;
};

struct DictCompilation {
    std::vector<DictEntry> entries;  // every block read, in file order
    std::vector<Diagnostic> errors;  // empty when the outputs may be written
    std::vector<DictOutput> outputs; // empty when there are errors
};

// Turns the dictionary source into the definition files the program ships with: one ".SD3"
// per directory, its codes in the order of the device walk, and "PARAM.DAT", every register in
// (dictionary directory, data type, position) order, numbered data type x 100 + position.
class DictCompiler {
public:
    // Stems of the source files a complete dictionary has: the eight directories, then the
    // registers that are not program codes.
    static std::vector<std::string> SourceStems();

    // Reads every source file of `folder` (stem + ".txt"); a missing one is an error.
    static std::vector<DictSource> ReadFolder(const std::string& folder, std::vector<Diagnostic>& errors);

    // Parses, checks and builds. Only the directories given get a ".SD3" file.
    static DictCompilation Compile(const std::vector<DictSource>& sources);

    // Writes each output into `folder` through a temporary file renamed when complete.
    static bool Write(const std::vector<DictOutput>& outputs, const std::string& folder, std::string& error);
};

}  // namespace qs::dictgen
