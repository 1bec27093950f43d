#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "emulators/display/DisplayPort.h"
#include "platform/Clock.h"

namespace qs::display {

// The display link over TCP. The connection is started and not waited for: reads yield
// nothing until it stands, and nothing at all when it failed or the device closed it. Key
// frames are queued and sent whole, each write waiting no longer than a receive pass may (what
// does not fit goes with the next read or write); never raises SIGPIPE.
class TcpDisplayPort final : public DisplayPort {
public:
    static constexpr uint16_t kDisplayPort = 7744;
    static constexpr int64_t kWriteTimeoutMs = 200;
    static constexpr int64_t kCloseTimeoutMs = 1000;
    static constexpr size_t kMaxQueued = 64u << 10;

    explicit TcpDisplayPort(const Clock& clock) : clock_(clock) {}
    ~TcpDisplayPort() override { Close(); }
    TcpDisplayPort(const TcpDisplayPort&) = delete;
    TcpDisplayPort& operator=(const TcpDisplayPort&) = delete;

    // Starts connecting to `address`, a dotted IPv4 address (a name would block on its look-up).
    void Start(const std::string& address, uint16_t port = kDisplayPort);
    int ReadByte(int64_t deadlineMs) override;
    void Write(std::span<const uint8_t> frame) override;
    // Sends what is queued, tells the device we are done, and closes (each wait bounded).
    void Close() override;

    bool Connected() const { return state_ == State::kConnected; }

private:
    enum class State { kClosed, kConnecting, kConnected, kGone };

    // Waits until `deadlineMs` at most for the connection to stand.
    bool Connect(int64_t deadlineMs);
    // Sends from the queue until it is empty or `deadlineMs` has passed.
    void Flush(int64_t deadlineMs);
    int Remaining(int64_t deadlineMs) const;

    const Clock& clock_;
    int fd_ = -1;
    State state_ = State::kClosed;
    std::vector<uint8_t> inbox_;
    size_t inPos_ = 0;
    std::vector<uint8_t> outbox_;
};

}  // namespace qs::display
