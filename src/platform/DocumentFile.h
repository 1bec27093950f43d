#pragma once
#include <cstddef>
#include <functional>
#include <string>

namespace qs {

class ArchiveReader;
class ArchiveWriter;
struct UiServices;

// Opening and saving a document's file, with the words the user sees when either fails.
class DocumentFile {
public:
    // Reads the file at `path` (at most maxBytes) whole and hands it to `load`. A file that
    // cannot be read, or that `load` refuses by throwing ArchiveError, is said in a box and
    // gives false.
    static bool Load(const std::string& path, size_t maxBytes, const UiServices& ui,
                     const std::function<void(ArchiveReader&)>& load);
    // Writes the archive's bytes through a temporary file and a rename; a failure is said and
    // leaves the old file as it was.
    static bool Save(const std::string& path, const ArchiveWriter& out, const UiServices& ui);
};

}  // namespace qs
