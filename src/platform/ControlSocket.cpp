#include "platform/ControlSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Paths.h"

namespace qs {

namespace {

struct Known {
    ControlMessage message;
    const char* text;
};
constexpr Known kKnown[] = {
    {ControlMessage::kRestore, "RESTORE"},
    {ControlMessage::kRemoteDisplayDone, "RemoteDisplayDone"},
    {ControlMessage::kMmiDone, "MMIDone"},
};

bool SetError(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

// The runtime folder to use: the given one checked, or the default one.
std::optional<std::string> ResolveDir(const std::string& runtimeDir, std::string* error) {
    if (runtimeDir.empty()) return paths::RuntimeDir(error);
    if (!paths::EnsurePrivateDir(runtimeDir, error)) return std::nullopt;
    return runtimeDir;
}

// sun_path holds the path and its terminating NUL.
bool MakeAddress(const std::string& path, sockaddr_un& addr, std::string* error) {
    addr = {};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path)
        return SetError(error, path + ": " + std::strerror(ENAMETOOLONG));
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

const char* ControlMessageText(ControlMessage message) {
    for (const auto& k : kKnown)
        if (k.message == message) return k.text;
    return "";
}

std::optional<ControlMessage> ParseControlMessage(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    for (const auto& k : kKnown)
        if (line == k.text) return k.message;
    return std::nullopt;
}

ControlSocket::ControlSocket(const Clock* clock) : clock_(clock) {}

ControlSocket::~ControlSocket() { Close(); }

int64_t ControlSocket::Now() const {
    static const SteadyClock steady;
    return (clock_ ? clock_ : &steady)->NowMs();
}

bool ControlSocket::Listen(const std::string& runtimeDir, std::string* error) {
    Close();
    auto dir = ResolveDir(runtimeDir, error);
    if (!dir) return false;
    std::string path = *dir + "/" + kControlSocketName;
    sockaddr_un addr{};
    if (!MakeAddress(path, addr, error)) return false;

    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return SetError(error, std::string("socket: ") + std::strerror(errno));
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        int e = errno;
        ::close(fd);
        return SetError(error, path + ": " + std::strerror(e));
    }
    // Remember which file is ours, so closing never removes a later instance's socket.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 16) != 0) {
        int e = errno;
        ::close(fd);
        ::unlink(path.c_str());
        return SetError(error, path + ": " + std::strerror(e));
    }
    listenFd_ = fd;
    path_ = path;
    dev_ = st.st_dev;
    ino_ = st.st_ino;
    return true;
}

void ControlSocket::Close() {
    for (auto& c : clients_) ::close(c.fd);
    clients_.clear();
    if (listenFd_ < 0) return;
    ::close(listenFd_);
    listenFd_ = -1;
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_dev == dev_ && st.st_ino == ino_)
        ::unlink(path_.c_str());
    path_.clear();
}

std::vector<int> ControlSocket::Fds() const {
    std::vector<int> fds;
    if (listenFd_ >= 0) fds.push_back(listenFd_);
    for (const auto& c : clients_) fds.push_back(c.fd);
    return fds;
}

void ControlSocket::AcceptPending() {
    // With every place taken, later clients wait in the backlog (their lines already sent)
    // until one frees.
    for (size_t i = 0; i < kMaxAcceptsPerPump && clients_.size() < kMaxClients; ++i) {
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;  // EAGAIN: nobody waiting; anything else: try again next time
        clients_.push_back(Client{fd, {}, false, Now()});
    }
}

void ControlSocket::Enqueue(ControlMessage message) {
    if (std::find(queue_.begin(), queue_.end(), message) == queue_.end()) queue_.push_back(message);
}

void ControlSocket::EndLine(Client& client) {
    if (!client.discarding)
        if (auto m = ParseControlMessage(client.line)) Enqueue(*m);
    client.line.clear();
    client.discarding = false;
}

void ControlSocket::TakeBytes(Client& client, const char* data, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        char ch = data[i];
        if (ch == '\n') {
            EndLine(client);
        } else if (!client.discarding) {
            if (client.line.size() >= kMaxLineLength) {
                client.line.clear();
                client.discarding = true;
            } else {
                client.line.push_back(ch);
            }
        }
    }
}

bool ControlSocket::ReadClient(Client& client) {
    char buf[512];
    size_t total = 0;
    while (total < kMaxReadPerPump) {
        ssize_t n = ::recv(client.fd, buf, std::min(sizeof buf, kMaxReadPerPump - total), 0);
        if (n > 0) {
            total += static_cast<size_t>(n);
            client.lastActivityMs = Now();
            TakeBytes(client, buf, static_cast<size_t>(n));
            continue;
        }
        if (n == 0) {
            // The client is done: a last line without its newline still counts.
            if (!client.line.empty()) EndLine(client);
            return false;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) break;
        return false;
    }
    return Now() - client.lastActivityMs < kClientIdleMs;
}

void ControlSocket::Pump() {
    if (listenFd_ < 0) return;
    AcceptPending();
    for (size_t i = 0; i < clients_.size();) {
        if (ReadClient(clients_[i])) {
            ++i;
        } else {
            ::close(clients_[i].fd);
            clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    // Places freed above let a client still in the backlog be served at the next call.
}

std::vector<ControlMessage> ControlSocket::Take() {
    std::vector<ControlMessage> out;
    out.swap(queue_);
    return out;
}

std::vector<ControlMessage> ControlSocket::Poll() {
    Pump();
    return Take();
}

bool SendControlMessage(const std::string& runtimeDir, ControlMessage message, int timeoutMs,
                        std::string* error) {
    auto dir = ResolveDir(runtimeDir, error);
    if (!dir) return false;
    std::string path = *dir + "/" + kControlSocketName;
    sockaddr_un addr{};
    if (!MakeAddress(path, addr, error)) return false;

    const SteadyClock clock;
    const int64_t deadline = clock.NowMs() + std::max(timeoutMs, 0);
    auto left = [&] { return static_cast<int>(std::clamp<int64_t>(deadline - clock.NowMs(), 0, 1 << 30)); };

    int fd = -1;
    for (;;) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return SetError(error, std::string("socket: ") + std::strerror(errno));
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) break;
        int e = errno;
        ::close(fd);
        fd = -1;
        // Not there yet, not listening yet, or its backlog is full: the instance may be
        // starting or busy; try again shortly.
        bool transient = e == ENOENT || e == ECONNREFUSED || e == EAGAIN || e == EINTR;
        if (!transient || left() == 0) return SetError(error, path + ": " + std::strerror(e));
        ::poll(nullptr, 0, std::min(left(), 20));
    }

    std::string line = std::string(ControlMessageText(message)) + "\n";
    size_t sent = 0;
    while (sent < line.size()) {
        ssize_t n = ::send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && left() > 0) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, left());
            continue;
        }
        int e = n < 0 && errno != EAGAIN ? errno : ETIMEDOUT;
        ::close(fd);
        return SetError(error, path + ": " + std::strerror(e));
    }
    ::close(fd);
    return true;
}

}  // namespace qs
