#pragma once
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "TempDir.h"
#include "TestEnv.h"

namespace qs::test {

// A runtime folder of the test's own: $XDG_RUNTIME_DIR points into a fresh temporary folder
// for the life of the object, so tests side by side never share a lock or a socket.
class RuntimeFolder {
public:
    const std::string& Base() const { return tmp_.Path(); }
    // Where paths::RuntimeDir() puts the lock and the socket.
    std::string Dir() const { return tmp_.Path() + "/quillset"; }
    std::string SocketPath() const { return Dir() + "/control.sock"; }

private:
    TempDir tmp_;
    ScopedEnv env_{"XDG_RUNTIME_DIR", tmp_.Path()};
};

// A client of the control socket that writes whatever bytes a test gives it, in pieces.
class RawClient {
public:
    explicit RawClient(const std::string& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
        if (fd_ < 0 || ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
            throw std::runtime_error("cannot connect to " + path);
    }
    ~RawClient() { Close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    // False when the server has gone (or dropped this client).
    bool Send(std::string_view bytes) const {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

// Leaves a socket file behind the way a process that died would: bound, never unlinked.
inline void LeaveStaleSocket(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
        throw std::runtime_error("cannot bind " + path);
    ::close(fd);
}

}  // namespace qs::test
