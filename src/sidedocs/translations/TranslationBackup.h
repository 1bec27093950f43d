#pragma once
#include <optional>
#include <string>

namespace qs {

// The copy an upgraded translation file leaves behind: the old file renamed to the same name
// with the extension ".LXB", so the upgraded one can be saved under the old name.
class TranslationBackup {
public:
    static constexpr const char* kExtension = ".LXB";

    // The file name with its extension (from the last "." of the name, not of a folder)
    // replaced by ".LXB", or ".LXB" added when it has none.
    static std::string BackupPath(const std::string& path);
    // Renames `path` to its backup path. Never replaces a file that is there already: that,
    // like any other failure, leaves both files as they were and gives nullopt (errno kept).
    static std::optional<std::string> Rename(const std::string& path);
};

}  // namespace qs
