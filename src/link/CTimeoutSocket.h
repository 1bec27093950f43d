#pragma once
#include <cstddef>
#include <string>

#include "platform/TcpClient.h"

namespace qs {

// The TCP client socket of a TCPPort: connect and receive wait for their time-out plus one
// second, letting the user interface run meanwhile (see TcpClient). A call made while another
// waits on the socket fails at once.
class CTimeoutSocket {
public:
    static constexpr int kConnectTimeoutS = 10;
    static constexpr int kReceiveTimeoutS = 5;           // until connected
    static constexpr int kConnectedReceiveTimeoutS = 3;  // from then on

    CTimeoutSocket() = default;
    CTimeoutSocket(const CTimeoutSocket&) = delete;
    CTimeoutSocket& operator=(const CTimeoutSocket&) = delete;

    int ConnectTimeout() const { return connectTimeout_; }
    int ReceiveTimeout() const { return receiveTimeout_; }
    void SetReceiveTimeout(int seconds) { receiveTimeout_ = seconds; }

    // True when connected within the connect time-out plus 1 s.
    [[nodiscard]] bool Connect(const std::string& host, unsigned port);
    // Sends all bytes (waiting at most the receive time-out plus 1 s for room): the count,
    // or -1.
    int Send(const char* data, int length);
    // One receive of 1 to `length` bytes within the receive time-out plus 1 s (and by
    // `limitMs` on the UI clock when that is set): the count; 0 when the peer has closed the
    // connection; -1 on a time-out or any other failure.
    int Receive(char* buffer, int length, int64_t limitMs = 0);
    // How long a receive waits: the receive time-out plus 1 s.
    int64_t ReceiveWaitMs() const { return WaitMs(receiveTimeout_); }
    // Drops what has arrived and not been read.
    size_t DropPending() { return client_.DropPending(); }
    void Close() { client_.Close(); }

    bool PeerClosed() const { return client_.PeerClosed(); }
    int LastError() const { return client_.LastError(); }
    const TcpClient& Client() const { return client_; }

private:
    int64_t WaitMs(int seconds) const { return (static_cast<int64_t>(seconds) + 1) * 1000; }

    TcpClient client_;
    int connectTimeout_ = kConnectTimeoutS;
    int receiveTimeout_ = kReceiveTimeoutS;
};

}  // namespace qs
