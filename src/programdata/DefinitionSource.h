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

    // The program's data folders and "QS3X.INI"; a missing file is built over `com1` when it
    // lends a Minicomputer protocol, else over TCP/IP to the profile's fallback host.
    static DefinitionSource FromEnvironment(Com1Hook com1 = {});

    std::optional<std::string> Find(const std::string& fileName) const;
};

}  // namespace qs
