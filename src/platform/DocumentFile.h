#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qs {

class ArchiveReader;
class ArchiveWriter;
struct UiServices;

// Reading and writing a document's file, with the words the user sees when either fails. Every
// save goes through a temporary file and a rename, so a failed one leaves the old file as it was.
class DocumentFile {
public:
    // The file at `path` whole (at most `maxBytes`); false after "Unable to open <path>" and why.
    static bool Read(const std::string& path, size_t maxBytes, std::string& bytes, const UiServices& ui);
    // Reads the file and hands it to `load` as an archive. A file that cannot be read, or that
    // `load` refuses by throwing ArchiveError, is said and gives false.
    static bool Load(const std::string& path, size_t maxBytes, const UiServices& ui,
                     const std::function<void(ArchiveReader&)>& load);
    // False after "Unable to save <path>", why, and that the file on disk has not been changed.
    static bool Save(const std::string& path, std::string_view bytes, const UiServices& ui);
    static bool Save(const std::string& path, const ArchiveWriter& out, const UiServices& ui);
};

}  // namespace qs
