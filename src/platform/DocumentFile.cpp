#include "platform/DocumentFile.h"

#include <cerrno>
#include <cstring>

#include "platform/ArchiveReader.h"
#include "platform/ArchiveWriter.h"
#include "platform/UiServices.h"

namespace qs {

bool DocumentFile::Read(const std::string& path, size_t maxBytes, std::string& bytes, const UiServices& ui) {
    const auto status = ArchiveReader::ReadFile(path, maxBytes, bytes);
    if (status == ArchiveReader::FileStatus::Ok) return true;
    const char* why = status == ArchiveReader::FileStatus::TooLarge  ? "The file is too large."
                      : status == ArchiveReader::FileStatus::NotAFile ? "It is not a file."
                                                                      : std::strerror(errno);
    ui.Message("Unable to open " + path + "\n" + why, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void DocumentFile::SayUnreadable(const std::string& path, const UiServices& ui) {
    ui.Message("Unable to open " + path + "\nUnexpected file format.", MB_OK | MB_ICONEXCLAMATION);
}

bool DocumentFile::Save(const ArchiveWriter& out, const std::string& path, const UiServices& ui) {
    if (out.SaveTo(path)) return true;
    const int error = errno;
    ui.Message("Unable to save " + path + "\n" + std::strerror(error ? error : EIO) +
                   "\nThe file on disk has not been changed.",
               MB_OK | MB_ICONEXCLAMATION);
    return false;
}

}  // namespace qs
