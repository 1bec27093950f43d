#include "platform/TcpClient.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/BusyScope.h"
#include "platform/UiServices.h"

namespace qs {

namespace {

// The next poll: one slice, or less when the deadline is nearer.
int SliceUntil(int64_t deadlineMs) {
    int64_t left = deadlineMs - UiClock().NowMs();
    return static_cast<int>(std::clamp<int64_t>(left, 0, TcpClient::kSliceMs));
}

bool Resolve(const std::string& host, uint16_t port, sockaddr_in& out, int& error) {
    out = {};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &out.sin_addr) == 1) return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || !list) {
        error = EHOSTUNREACH;
        return false;
    }
    out.sin_addr = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr;
    ::freeaddrinfo(list);
    return true;
}

}  // namespace

TcpClient::~TcpClient() { Close(); }

TcpClient::Result TcpClient::Fail(Result result, int error) {
    error_ = error ? error : EIO;
    return result;
}

std::string TcpClient::LastErrorText() const { return std::strerror(error_ ? error_ : EIO); }

void TcpClient::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    peerClosed_ = false;
    inboxBegin_ = inboxEnd_ = 0;
}

TcpClient::Result TcpClient::Connect(const std::string& host, uint16_t port, int64_t timeoutMs) {
    if (busy_) return Fail(Result::kBusy, EINPROGRESS);
    Close();
    if (host.empty() || host.size() > kMaxHostLength || host.find('\0') != std::string::npos || port == 0)
        return Fail(Result::kError, EINVAL);
    sockaddr_in addr{};
    int error = 0;
    if (!Resolve(host, port, addr, error)) return Fail(Result::kError, error);

    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return Fail(Result::kError, errno);
    // A binary block goes out as its frame and then its three-byte trailer; with Nagle's
    // algorithm the trailer would wait for the peer's delayed acknowledgement (about 40 ms a
    // block), so every exchange is sent at once.
    int one = 1;
    (void)::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
        error_ = 0;
        return Result::kOk;
    }
    if (errno != EINPROGRESS) {
        int e = errno;
        Close();
        return Fail(Result::kError, e);
    }

    BusyScope busy(busy_);
    const int64_t deadline = UiClock().NowMs() + timeoutMs;
    for (;;) {
        if (fd_ < 0) return Fail(Result::kError, EBADF);  // closed from an event handler
        if (UiClock().NowMs() >= deadline) {
            Close();
            return Fail(Result::kTimeout, ETIMEDOUT);
        }
        pollfd pfd{fd_, POLLOUT, 0};
        int r = ::poll(&pfd, 1, SliceUntil(deadline));
        if (r < 0 && errno != EINTR) {
            int e = errno;
            Close();
            return Fail(Result::kError, e);
        }
        if (r > 0) {
            int soError = 0;
            socklen_t len = sizeof soError;
            if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &soError, &len) != 0) soError = errno;
            if (soError == 0) {
                error_ = 0;
                return Result::kOk;
            }
            Close();
            return Fail(Result::kError, soError);
        }
        RunIdle();
    }
}

TcpClient::Result TcpClient::Send(const void* data, size_t length, int64_t timeoutMs) {
    if (busy_) return Fail(Result::kBusy, EINPROGRESS);
    if (fd_ < 0) return Fail(Result::kError, ENOTCONN);
    if (peerClosed_) return Fail(Result::kClosed, ENOTCONN);
    BusyScope busy(busy_);
    const int64_t deadline = UiClock().NowMs() + timeoutMs;
    const auto* p = static_cast<const uint8_t*>(data);
    while (length > 0) {
        if (fd_ < 0) return Fail(Result::kError, EBADF);
        ssize_t n = ::send(fd_, p, length, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            p += n;
            length -= static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            int e = errno;
            if (e == EPIPE || e == ECONNRESET) {
                peerClosed_ = true;
                return Fail(Result::kClosed, e);
            }
            return Fail(Result::kError, e);
        }
        if (UiClock().NowMs() >= deadline) return Fail(Result::kTimeout, ETIMEDOUT);
        pollfd pfd{fd_, POLLOUT, 0};
        int r = ::poll(&pfd, 1, SliceUntil(deadline));
        if (r <= 0) RunIdle();
    }
    error_ = 0;
    return Result::kOk;
}

bool TcpClient::TakeBuffered(void* buffer, size_t capacity, size_t& received) {
    if (inboxBegin_ == inboxEnd_) return false;
    received = std::min(capacity, inboxEnd_ - inboxBegin_);
    std::memcpy(buffer, inbox_.data() + inboxBegin_, received);
    inboxBegin_ += received;
    error_ = 0;
    return true;
}

TcpClient::Result TcpClient::Receive(void* buffer, size_t capacity, size_t& received, int64_t timeoutMs) {
    received = 0;
    if (busy_) return Fail(Result::kBusy, EINPROGRESS);
    if (fd_ < 0) return Fail(Result::kError, ENOTCONN);
    if (peerClosed_) return Fail(Result::kClosed, ENOTCONN);
    if (capacity == 0) return Result::kOk;
    if (TakeBuffered(buffer, capacity, received)) return Result::kOk;
    BusyScope busy(busy_);
    const int64_t deadline = UiClock().NowMs() + timeoutMs;
    for (;;) {
        if (fd_ < 0) return Fail(Result::kError, EBADF);
        // Replies are read a byte at a time up to their terminator: take whatever has arrived
        // in one call and serve the bytes from memory, so a reply costs one system call, not
        // one per byte. Waiting comes first: a reply is asked for just after its command went
        // out, when a read could only come back empty.
        const int slice = SliceUntil(deadline);
        pollfd pfd{fd_, POLLIN, 0};
        const int r = ::poll(&pfd, 1, slice);
        if (r > 0) {
            ssize_t n = ::recv(fd_, inbox_.data(), inbox_.size(), MSG_DONTWAIT);
            if (n > 0) {
                inboxBegin_ = 0;
                inboxEnd_ = static_cast<size_t>(n);
                TakeBuffered(buffer, capacity, received);
                return Result::kOk;
            }
            if (n == 0) {
                peerClosed_ = true;
                return Fail(Result::kClosed, ENOTCONN);
            }
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                int e = errno;
                if (e == ECONNRESET) {
                    peerClosed_ = true;
                    return Fail(Result::kClosed, e);
                }
                return Fail(Result::kError, e);
            }
        } else if (r < 0 && errno == EINTR) {
            continue;
        } else if (slice > 0) {
            RunIdle();
        }
        if (UiClock().NowMs() >= deadline) return Fail(Result::kTimeout, ETIMEDOUT);
    }
}

size_t TcpClient::DropPending() {
    if (fd_ < 0 || busy_) return 0;
    // Bounded, so a peer that never stops sending cannot hold us here.
    constexpr size_t kMaxDrop = 1 << 20;
    char scratch[4096];
    size_t dropped = inboxEnd_ - inboxBegin_;
    inboxBegin_ = inboxEnd_ = 0;
    while (dropped < kMaxDrop) {
        ssize_t n = ::recv(fd_, scratch, sizeof scratch, MSG_DONTWAIT);
        if (n > 0) {
            dropped += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // A peer that has gone says so as an end of stream or, with data it never read, a reset.
        if (n == 0 || (n < 0 && errno == ECONNRESET)) peerClosed_ = true;
        break;
    }
    return dropped;
}

}  // namespace qs
