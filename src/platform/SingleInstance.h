#pragma once
#include <string>

namespace qs {

// One running Quillset per user: an exclusive lock on a file in the private runtime folder,
// held for the life of this object (the system drops it when the process ends, however it
// ends, so a crash never leaves the next start locked out).
//
// The first instance gets kPrimary; holding the lock, it has removed a control socket left by
// a dead predecessor, and should now listen on a ControlSocket in RuntimeDir(). A later start
// gets kSecondary: it has sent "RESTORE" to the first one's control socket (the first restores
// and raises its own window) and its caller should exit. kError: the folder or the lock file
// is unusable (not ours, open to others, a symbolic link...); Error() says why, and the caller
// decides whether to run without the single-instance rule.
class SingleInstance {
public:
    enum class Status { kNone, kPrimary, kSecondary, kError };

    static constexpr const char* kLockName = "instance.lock";
    static constexpr int kRestoreTimeoutMs = 2000;

    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // runtimeDir empty: paths::RuntimeDir(). A second instance waits at most restoreTimeoutMs
    // for the first one's socket (it may still be starting).
    [[nodiscard]] Status Acquire(const std::string& runtimeDir = {}, int restoreTimeoutMs = kRestoreTimeoutMs);
    // Gives the lock up (also done by the destructor). Close the ControlSocket first, so a
    // successor never finds the socket of a process that no longer holds the lock.
    void Release();

    Status GetStatus() const { return status_; }
    bool IsPrimary() const { return status_ == Status::kPrimary; }
    const std::string& RuntimeDir() const { return dir_; }
    // kSecondary only: whether "RESTORE" was written to the first instance's socket.
    bool RestoreDelivered() const { return restoreDelivered_; }
    const std::string& Error() const { return error_; }

private:
    Status Fail(const std::string& why);

    int lockFd_ = -1;
    Status status_ = Status::kNone;
    std::string dir_;
    bool restoreDelivered_ = false;
    std::string error_;
};

}  // namespace qs
