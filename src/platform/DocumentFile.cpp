#include "platform/DocumentFile.h"

#include <cerrno>
#include <cstring>

#include "platform/BinaryArchive.h"
#include "platform/UiServices.h"

namespace qs {

bool DocumentFile::Load(const std::string& path, size_t maxBytes, const UiServices& ui,
                        const std::function<void(ArchiveReader&)>& load) {
    std::string bytes;
    const auto status = ArchiveReader::ReadFile(path, maxBytes, bytes);
    if (status != ArchiveReader::FileStatus::Ok) {
        const char* why = status == ArchiveReader::FileStatus::TooLarge  ? "The file is too large."
                          : status == ArchiveReader::FileStatus::NotAFile ? "It is not a file."
                                                                          : std::strerror(errno);
        ui.Message("Unable to open " + path + "\n" + why, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    ArchiveReader in(std::move(bytes));
    try {
        load(in);
    } catch (const ArchiveError&) {
        ui.Message("Unable to open " + path + "\nUnexpected file format.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool DocumentFile::Save(const std::string& path, const ArchiveWriter& out, const UiServices& ui) {
    if (out.SaveTo(path)) return true;
    const int error = errno;
    ui.Message("Unable to save " + path + "\n" + std::strerror(error ? error : EIO) +
                   "\nThe file on disk has not been changed.",
               MB_OK | MB_ICONEXCLAMATION);
    return false;
}

}  // namespace qs
