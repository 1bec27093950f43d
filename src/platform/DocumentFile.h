#pragma once
#include <cstddef>
#include <string>

namespace qs {

class ArchiveWriter;
struct UiServices;

// A document's file on disk, with the messages a user is shown when it cannot be read or
// written. Loaders read the whole image first and show SayUnreadable when they refuse it.
class DocumentFile {
public:
    // The file at `path`, at most `maxBytes`; false after "Unable to open <path>" and why.
    static bool Read(const std::string& path, size_t maxBytes, std::string& bytes, const UiServices& ui);
    // "Unable to open <path>" for a file whose content the loader refused.
    static void SayUnreadable(const std::string& path, const UiServices& ui);
    // The archive written through a temporary file and a rename; false after "Unable to save
    // <path>", why, and that the file on disk has not been changed.
    static bool Save(const ArchiveWriter& out, const std::string& path, const UiServices& ui);
};

}  // namespace qs
