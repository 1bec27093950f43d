#pragma once
#include <string>
#include <string_view>

#include "device/DefinitionReader.h"
#include "device/Dictionary.h"

namespace sim {

// Reads the dictionary source files (one per directory, "Config.txt" ... "Bay B.txt", and
// "Registers.txt"): ASCII "key: value" lines in blocks opened by "code:" (directory files) or
// "register:" (Registers.txt), checked as strictly as the files' own rules say, so that the
// simulator never answers from a definition the program's tools would refuse.
class DictionaryParser {
public:
    static constexpr size_t kMaxFileSize = 4u << 20;
    static constexpr int kRegistersFile = DefinitionReader::kRegister;

    // Loads the nine files of `folder` into `out`. Returns "" or the first fault as
    // "<path>:<line>: <what>" (or "<path>: <what>" for a file that cannot be read).
    static std::string Load(const std::string& folder, Dictionary& out);

    // One file's text: a directory file of directory `type` (0-7), or Registers.txt
    // (kRegistersFile). `where` names it in faults. Does not index the registers.
    static std::string Parse(std::string_view text, const std::string& where, int type, Dictionary& out);
};

}  // namespace sim
