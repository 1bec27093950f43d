#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/ControlSocket.h"
#include "platform/Paths.h"

namespace qs {

SingleInstance::~SingleInstance() { Release(); }

void SingleInstance::Release() {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
    status_ = Status::kNone;
}

SingleInstance::Status SingleInstance::Fail(const std::string& why) {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
    error_ = why;
    status_ = Status::kError;
    return status_;
}

SingleInstance::Status SingleInstance::Acquire(const std::string& runtimeDir, int restoreTimeoutMs) {
    Release();
    error_.clear();
    restoreDelivered_ = false;

    std::string why;
    std::optional<std::string> dir =
        runtimeDir.empty() ? paths::RuntimeDir(&why)
                           : (paths::EnsurePrivateDir(runtimeDir, &why) ? std::optional(runtimeDir) : std::nullopt);
    if (!dir) return Fail(why);
    dir_ = *dir;

    // The folder was checked by name; check what is actually opened again, so a folder swapped
    // for a link in between is not used.
    int dirFd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0) return Fail(dir_ + ": " + std::strerror(errno));
    struct stat st {};
    if (::fstat(dirFd, &st) != 0 || st.st_uid != ::getuid() || (st.st_mode & 077) != 0) {
        ::close(dirFd);
        return Fail(dir_ + ": not a private folder of ours");
    }

    const std::string lockPath = dir_ + "/" + kLockName;
    lockFd_ = ::openat(dirFd, kLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        int e = errno;
        ::close(dirFd);
        return Fail(lockPath + ": " + (e == ELOOP ? std::string("is a symbolic link") : std::strerror(e)));
    }
    if (::fstat(lockFd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        ::close(dirFd);
        return Fail(lockPath + ": not a plain file of ours");
    }

    int rc;
    do rc = ::flock(lockFd_, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        // Nobody else holds the lock, so a socket still there belongs to a process that died.
        if (::unlinkat(dirFd, kControlSocketName, 0) != 0 && errno != ENOENT)
            error_ = dir_ + "/" + kControlSocketName + ": " + std::strerror(errno);
        ::close(dirFd);
        status_ = Status::kPrimary;
        return status_;
    }
    int e = errno;
    ::close(dirFd);
    if (e != EWOULDBLOCK) return Fail(lockPath + ": " + std::strerror(e));

    ::close(lockFd_);
    lockFd_ = -1;
    restoreDelivered_ = SendControlMessage(dir_, ControlMessage::kRestore, restoreTimeoutMs, &error_);
    status_ = Status::kSecondary;
    return status_;
}

}  // namespace qs
