#include "link/TCPPort.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace qs {

TCPPort::TCPPort(const std::string& host, unsigned port)
    : socket_(std::make_unique<CTimeoutSocket>()), host_(host) {
    portNumber_ = static_cast<int>(std::min<unsigned>(port, INT_MAX));
    status_ = kStatusOk;
    if (!socket_->Connect(host, port)) {
        status_ = kStatusCannotOpen;
        systemError_ = port == 0 || port > 65535 ? EINVAL : socket_->LastError();
        state_ = kStateClosed;
        return;
    }
    socket_->SetReceiveTimeout(CTimeoutSocket::kConnectedReceiveTimeoutS);
    state_ = kStateOpen;
}

TCPPort::~TCPPort() { socket_->Close(); }

int TCPPort::ReceiveFailed() {
    status_ = kStatusTimeout;
    systemError_ = socket_->LastError();
    if (socket_->PeerClosed()) {
        lost_ = true;
        state_ = kStateClosed;
        socket_->Close();
    }
    return 0;
}

int TCPPort::Write(const char* data, int length) {
    if (state_ < kStateOpen) {
        // A link that was lost fails as a write; one that never opened keeps its status 1.
        if (lost_) {
            status_ = kStatusReceiveError;
            systemError_ = ENOTCONN;
        }
        return 0;
    }
    if (!data) return 0;
    if (length == 0) length = static_cast<int>(std::strlen(data));
    int sent = socket_->Send(data, length);
    if (sent < 0) {
        status_ = kStatusReceiveError;
        systemError_ = length < 0 ? EINVAL : socket_->LastError();
        if (socket_->PeerClosed()) {
            lost_ = true;
            state_ = kStateClosed;
            socket_->Close();
        }
        return 0;
    }
    return sent;
}

int TCPPort::Read(std::span<char> buffer, int length, int terminator) {
    if (state_ < kStateOpen) return 0;
    const int capacity = buffer.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(buffer.size());
    const bool terminated = (terminator >= 0 && terminator <= 255) || length <= 0;

    if (!terminated) {
        int want = std::min(length, capacity);
        if (want <= 0) return 0;
        int r = socket_->Receive(buffer.data(), want, waitLimit_);
        return r > 0 ? r : ReceiveFailed();
    }

    if (terminator < 0 || terminator > 255) terminator = '\n';
    const int want = length <= 0 ? capacity : std::min(length, capacity);
    for (int count = 0;;) {
        if (count >= want) {
            status_ = kStatusProtocolError;
            systemError_ = ENOBUFS;
            return 0;
        }
        char c = 0;
        if (socket_->Receive(&c, 1, waitLimit_) != 1) return ReceiveFailed();
        buffer[static_cast<size_t>(count++)] = c;
        if (static_cast<unsigned char>(c) == terminator) return count;
    }
}

void TCPPort::PurgeInput() {
    if (state_ < kStateOpen) return;
    socket_->DropPending();
    if (socket_->PeerClosed()) {
        status_ = kStatusTimeout;
        systemError_ = ENOTCONN;
        lost_ = true;
        state_ = kStateClosed;
        socket_->Close();
    }
}

std::string TCPPort::Describe(int) const {
    if (state_ < kStateOpen) return "Comm Not Enabled";
    char text[300];
    std::snprintf(text, sizeof text, "TCP/IP: %s:%u", host_.c_str(), static_cast<unsigned>(portNumber_));
    return text;
}

}  // namespace qs
