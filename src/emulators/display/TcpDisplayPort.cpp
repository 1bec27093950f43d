#include "emulators/display/TcpDisplayPort.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace qs::display {

int TcpDisplayPort::Remaining(int64_t deadlineMs) const {
    return static_cast<int>(std::clamp<int64_t>(deadlineMs - clock_.NowMs(), 0, 60000));
}

void TcpDisplayPort::Start(const std::string& address, uint16_t port) {
    Close();
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    state_ = State::kGone;
    if (::inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) return;
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return;
    // A key frame goes out the moment it is pressed, not after the peer's delayed ack.
    int one = 1;
    (void)::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) state_ = State::kConnected;
    else if (errno == EINPROGRESS) state_ = State::kConnecting;
}

bool TcpDisplayPort::Connect(int64_t deadlineMs) {
    if (state_ != State::kConnecting) return state_ == State::kConnected;
    pollfd p{fd_, POLLOUT, 0};
    const int r = ::poll(&p, 1, Remaining(deadlineMs));
    if (r <= 0) return false;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
        state_ = State::kGone;
        return false;
    }
    state_ = State::kConnected;
    return true;
}

int TcpDisplayPort::ReadByte(int64_t deadlineMs) {
    for (;;) {
        if (inPos_ < inbox_.size()) return inbox_[inPos_++];
        if (!Connect(deadlineMs)) return -1;
        Flush(clock_.NowMs());
        uint8_t buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            inbox_.assign(buffer, buffer + n);
            inPos_ = 0;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            state_ = State::kGone;
            return -1;
        }
        pollfd p{fd_, POLLIN, 0};
        const int wait = Remaining(deadlineMs);
        if (wait == 0) return -1;
        const int r = ::poll(&p, 1, wait);
        // A poll that ran out ends the wait whatever the clock says.
        if (r == 0 || (r < 0 && errno != EINTR)) return -1;
    }
}

void TcpDisplayPort::Write(std::span<const uint8_t> frame) {
    // A key pressed while the connection is still being made goes out once it stands.
    if (state_ != State::kConnecting && state_ != State::kConnected) return;
    if (outbox_.size() + frame.size() > kMaxQueued) return;
    outbox_.insert(outbox_.end(), frame.begin(), frame.end());
    if (Connect(clock_.NowMs())) Flush(clock_.NowMs() + kWriteTimeoutMs);
}

void TcpDisplayPort::Flush(int64_t deadlineMs) {
    size_t sent = 0;
    while (state_ == State::kConnected && sent < outbox_.size()) {
        const ssize_t n = ::send(fd_, outbox_.data() + sent, outbox_.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd_, POLLOUT, 0};
            const int wait = Remaining(deadlineMs);
            if (wait == 0 || ::poll(&p, 1, wait) <= 0) break;
            continue;
        }
        state_ = State::kGone;
    }
    outbox_.erase(outbox_.begin(), outbox_.begin() + static_cast<std::ptrdiff_t>(std::min(sent, outbox_.size())));
    if (state_ == State::kGone) outbox_.clear();
}

void TcpDisplayPort::Close() {
    if (fd_ >= 0 && state_ == State::kConnected) {
        const int64_t deadline = clock_.NowMs() + kCloseTimeoutMs;
        Flush(deadline);
        // Reading to the device's end keeps unread input from turning the close into a reset
        // that could lose the last key frame.
        ::shutdown(fd_, SHUT_WR);
        for (;;) {
            uint8_t buffer[4096];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n > 0 || (n < 0 && errno == EINTR)) continue;
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) break;
            pollfd p{fd_, POLLIN, 0};
            const int wait = Remaining(deadline);
            if (wait == 0 || ::poll(&p, 1, wait) <= 0) break;
        }
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    state_ = State::kClosed;
    inbox_.clear();
    inPos_ = 0;
    outbox_.clear();
}

}  // namespace qs::display
