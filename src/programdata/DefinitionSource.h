#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "programdata/DefinitionProtocol.h"

namespace qs {

// Where the directories find their ".SD3" definition files and how a missing one is built.
struct DefinitionSource {
    // Folders searched in order; the first that holds the file wins.
    std::vector<std::string> searchDirs;
    // Folder a missing file is built into (and found in at the next start).
    std::string buildDir;
    // The link a missing file is built over; empty: missing files are not built.
    std::function<DefinitionProtocol()> connect;

    // The program's data folders, the process's COM1 hook and "QS3X.INI".
    static DefinitionSource FromEnvironment();

    std::optional<std::string> Find(const std::string& fileName) const;
};

}  // namespace qs
