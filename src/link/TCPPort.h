#pragma once
#include <memory>
#include <span>
#include <string>

#include "link/CTimeoutSocket.h"
#include "link/ComStream.h"

namespace qs {

// A TCP/IP connection to the device. It connects when made and is never reconnected: a peer
// that closes leaves it in state 0 (status 7), and a new TCPPort is needed.
class TCPPort : public ComStream {
public:
    // Connects to `host` (dotted IPv4 or a name) at `port`; failure leaves state 0, status 1.
    TCPPort(const std::string& host, unsigned port);
    ~TCPPort() override;
    TCPPort(const TCPPort&) = delete;
    TCPPort& operator=(const TCPPort&) = delete;

    // Sends all bytes; 0 with status 6 on failure (also after the peer has closed).
    int Write(const char* data, int length = 0) override;
    // terminator outside 0-255 with length > 0: one receive of up to `length` bytes (fewer
    // may come). Otherwise byte by byte up to and including the terminator (LF when length is
    // 0), within `length` and the buffer. Failure returns 0 with status 7 (time-out, peer
    // closed: also state 0) or 9 (no terminator within the room); no partial reply.
    int Read(std::span<char> buffer, int length, int terminator = -1) override;
    void Flush() override {}
    // Drops bytes already received and not read.
    void PurgeInput() override;
    // "TCP/IP: %s:%u", or "Comm Not Enabled" when not open.
    std::string Describe(int address) const override;
    bool IsNetwork() const override { return true; }
    int GetDataBits() const override { return 8; }
    int ReadWaitMs() const override { return static_cast<int>(socket_->ReceiveWaitMs()); }

    const std::string& Host() const { return host_; }
    CTimeoutSocket& Socket() { return *socket_; }

private:
    // A receive that failed: status 7, and state 0 when the peer has gone.
    int ReceiveFailed();

    std::unique_ptr<CTimeoutSocket> socket_;
    std::string host_;
    bool lost_ = false;  // the connection was open and the peer closed it
};

}  // namespace qs
