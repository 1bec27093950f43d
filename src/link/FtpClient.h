#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

namespace qs {

// How long an FTP session waits, in milliseconds, and how often it tries to connect again.
struct FtpTimeouts {
    int connectMs = 3000;
    // For the reply to a command, and for the server to open a data connection.
    int receiveMs = 3000;
    // For an upload that has stopped moving.
    int sendMs = 1000;
    // Further attempts after a connection that could not be made (never after a refused login).
    int connectRetries = 0;

    bool operator==(const FtpTimeouts&) const = default;
};

enum class FtpStatus {
    kOk,
    kLoginRefused,  // the server would not take the user and password
    kRefused,       // the server answered the command with an error
    kFailed,        // no connection, or it was lost or timed out
};

// What the firmware upgrades ask of an FTP server: log in, delete a file, store one from
// memory in binary mode, log out. The session keeps its connection between the operations.
class FtpClient {
public:
    // Called over and over while an operation waits: the bytes of an upload sent so far and
    // its size (0 and 0 outside uploads). The user interface lives there.
    using Pump = std::function<void(uint64_t sent, uint64_t total)>;

    virtual ~FtpClient() = default;

    const FtpTimeouts& Timeouts() const { return timeouts_; }
    // Taken by the next operation.
    void SetTimeouts(const FtpTimeouts& timeouts) { timeouts_ = timeouts; }
    void SetPump(Pump pump) { pump_ = std::move(pump); }

    // Connects to the server at `host` (a dotted IPv4 address) and logs in; a connection open
    // before is closed first.
    virtual FtpStatus Open(const std::string& host, const std::string& user, const std::string& password) = 0;
    virtual FtpStatus Delete(const std::string& name) = 0;
    virtual FtpStatus Put(const std::string& name, std::span<const uint8_t> bytes) = 0;
    virtual void Close() = 0;

protected:
    FtpTimeouts timeouts_;
    Pump pump_;
};

}  // namespace qs
