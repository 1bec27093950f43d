#include "sidedocs/translations/TranslationBackup.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace qs {

std::string TranslationBackup::BackupPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + kExtension;
}

std::optional<std::string> TranslationBackup::Rename(const std::string& path) {
    const std::string backup = BackupPath(path);
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, backup.c_str(), RENAME_NOREPLACE) == 0) return backup;
    if (errno != EINVAL && errno != ENOSYS) return std::nullopt;
    // A file system without the no-replace rename: a hard link fails as well when the name is
    // taken, and the old name goes only once the new one is there.
    if (::link(path.c_str(), backup.c_str()) != 0) return std::nullopt;
    if (::unlink(path.c_str()) != 0) {
        const int error = errno;
        ::unlink(backup.c_str());
        errno = error;
        return std::nullopt;
    }
    return backup;
}

}  // namespace qs
