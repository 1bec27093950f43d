#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qs::test {

// A listening socket on a loopback address of the test's own (any 127.x.y.z), on a port the
// system picks, so tests side by side never meet.
class LoopbackServer {
public:
    explicit LoopbackServer(std::string ip, int backlog = 4) : ip_(std::move(ip)) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        ::inet_pton(AF_INET, ip_.c_str(), &a.sin_addr);
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, backlog) != 0)
            throw std::runtime_error("cannot listen on " + ip_);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~LoopbackServer() {
        if (peer_ >= 0) ::close(peer_);
        ::close(fd_);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    const std::string& Ip() const { return ip_; }
    uint16_t Port() const { return port_; }

    // Takes the next queued connection as the device's end; false when none came in time.
    bool Accept(int timeoutMs = 2000) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return false;
        peer_ = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        return peer_ >= 0;
    }
    void DeviceSends(std::string_view bytes) const {
        if (::send(peer_, bytes.data(), bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("send failed");
    }
    std::string DeviceReceives(size_t count, int timeoutMs = 2000) const {
        std::string out;
        while (out.size() < count) {
            pollfd p{peer_, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) <= 0) break;
            char buf[256];
            ssize_t n = ::recv(peer_, buf, std::min(sizeof buf, count - out.size()), 0);
            if (n <= 0) break;
            out.append(buf, static_cast<size_t>(n));
        }
        return out;
    }
    void DeviceCloses() {
        if (peer_ >= 0) ::close(peer_);
        peer_ = -1;
    }

private:
    std::string ip_;
    int fd_ = -1;
    int peer_ = -1;
    uint16_t port_ = 0;
};

// A client connection that completes the handshake and is never accepted: with a backlog of 0
// it fills the listener's accept queue, and the kernel then drops every further SYN to it, so
// the next connect is never answered (the way a device that has gone away looks).
class QueueFiller {
public:
    QueueFiller(const std::string& ip, uint16_t port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        ::inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) throw std::runtime_error("filler failed");
    }
    ~QueueFiller() { ::close(fd_); }
    QueueFiller(const QueueFiller&) = delete;
    QueueFiller& operator=(const QueueFiller&) = delete;

private:
    int fd_ = -1;
};

}  // namespace qs::test
