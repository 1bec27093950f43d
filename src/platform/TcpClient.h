#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qs {

// A TCP client connection whose waits never block the user: connect, send and receive wait in
// short polls and call RunIdle() between them (the GUI dispatches its events there), until
// their deadline on UiClock() passes. One exchange at a time: a connect, send or receive
// begun while another waits on the same connection (from an event dispatched by that wait)
// fails at once with EINPROGRESS. Never raises SIGPIPE; every descriptor is close-on-exec.
class TcpClient {
public:
    enum class Result {
        kOk,       // bytes moved (or connected)
        kClosed,   // the peer closed the connection
        kTimeout,  // the deadline passed (ETIMEDOUT)
        kBusy,     // another wait is in progress on this connection (EINPROGRESS)
        kError,    // anything else; LastError() tells
    };

    // Length of one poll between two calls of RunIdle().
    static constexpr int kSliceMs = 50;
    // Longest host text accepted.
    static constexpr size_t kMaxHostLength = 255;

    TcpClient() = default;
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    // Resolves `host` (dotted IPv4 or a name, IPv4 only) and connects within `timeoutMs`.
    // A failed connect leaves the client closed.
    [[nodiscard]] Result Connect(const std::string& host, uint16_t port, int64_t timeoutMs);
    // Sends all `length` bytes within `timeoutMs`.
    Result Send(const void* data, size_t length, int64_t timeoutMs);
    // One receive of 1 to `capacity` bytes within `timeoutMs`; `received` is the count.
    Result Receive(void* buffer, size_t capacity, size_t& received, int64_t timeoutMs);
    // Drops whatever has arrived and not been read, without waiting; the count dropped.
    size_t DropPending();
    void Close();

    bool IsConnected() const { return fd_ >= 0 && !peerClosed_; }
    bool PeerClosed() const { return peerClosed_; }
    bool Busy() const { return busy_; }
    int Fd() const { return fd_; }
    int LastError() const { return error_; }
    std::string LastErrorText() const;

private:
    Result Fail(Result result, int error);
    // Serves bytes already received; false when none are waiting.
    bool TakeBuffered(void* buffer, size_t capacity, size_t& received);

    int fd_ = -1;
    bool busy_ = false;
    bool peerClosed_ = false;
    int error_ = 0;
    std::array<char, 4096> inbox_{};
    size_t inboxBegin_ = 0;
    size_t inboxEnd_ = 0;
};

}  // namespace qs
