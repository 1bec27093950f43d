#include "platform/DocumentFile.h"

#include <cerrno>
#include <cstring>

#include "platform/ArchiveError.h"
#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "platform/AtomicFile.h"
#include "platform/UiServices.h"

namespace qs {

bool DocumentFile::Read(const std::string& path, size_t maxBytes, std::string& bytes, const UiServices& ui) {
    const auto status = ArchiveReader::ReadFile(path, maxBytes, bytes);
    if (status == ArchiveReader::FileStatus::Ok) return true;
    ui.Message("Unable to open " + path + "\n" + ArchiveReader::FileStatusText(status), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool DocumentFile::Load(const std::string& path, size_t maxBytes, const UiServices& ui,
                        const std::function<void(ArchiveReader&)>& load) {
    std::string bytes;
    if (!Read(path, maxBytes, bytes, ui)) return false;
    ArchiveReader in(std::move(bytes));
    try {
        load(in);
    } catch (const ArchiveError&) {
        ui.Message("Unable to open " + path + "\nUnexpected file format.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool DocumentFile::Save(const std::string& path, std::string_view bytes, const UiServices& ui) {
    if (WriteFileAtomically(path, bytes)) return true;
    const int error = errno;
    ui.Message("Unable to save " + path + "\n" + std::strerror(error ? error : EIO) +
                   "\nThe file on disk has not been changed.",
               MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool DocumentFile::Save(const std::string& path, const ArchiveWriter& out, const UiServices& ui) {
    return Save(path, std::string_view(out.Bytes()), ui);
}

}  // namespace qs
