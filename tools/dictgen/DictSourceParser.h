#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "dictgen/Diagnostic.h"
#include "dictgen/DictEntry.h"

namespace qs::dictgen {

// Reads the text of one source file into blocks. It checks only the shape of the text (keys,
// one value per key, numbers that are numbers); whether the values fit is the validator's job.
class DictSourceParser {
public:
    // `directory` is the directory the file describes, or empty for the registers file (whose
    // blocks open with "register:" instead of "code:").
    DictSourceParser(std::string file, std::string directory);

    std::vector<DictEntry> Parse(std::string_view text, std::vector<Diagnostic>& errors) const;

private:
    bool ApplyKey(DictEntry& entry, const std::string& key, const std::string& value, int line,
                  std::vector<Diagnostic>& errors) const;
    void FinishBlock(DictEntry& entry, bool broken, std::vector<DictEntry>& out,
                     std::vector<Diagnostic>& errors) const;
    void Error(int line, std::string message, std::vector<Diagnostic>& errors) const;

    std::string file_;
    std::string directory_;
};

}  // namespace qs::dictgen
