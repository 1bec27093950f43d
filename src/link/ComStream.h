#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace qs {

// Port status: the last error of a stream, an index into the status texts.
enum PortStatus : int {
    kStatusOk = 0,
    kStatusCannotOpen = 1,
    kStatusTransmitError = 2,
    kStatusParity = 3,
    kStatusFraming = 4,
    kStatusOverrun = 5,
    kStatusReceiveError = 6,
    kStatusTimeout = 7,
    kStatusRejected = 8,
    kStatusProtocolError = 9,
};

// Stream state: 0 not open (opening failed), 1 open, 2 open and a serial read has succeeded.
enum StreamState : int { kStateClosed = 0, kStateOpen = 1, kStateReadOk = 2 };

// One byte stream to one device link: a serial port or a TCP/IP connection. It knows nothing
// of commands; it writes bytes, reads a fixed count or up to a terminator, keeps one status
// and can show it to the user.
class ComStream {
public:
    virtual ~ComStream() = default;

    // Bytes sent; 0 on failure (status 6) or when not open. length 0 = strlen(data).
    virtual int Write(const char* data, int length = 0) = 0;
    // Reads into `buffer`, whose size bounds every read. terminator -1 (or any value outside
    // 0-255) with length > 0: a fixed count (serial) or one receive of up to `length` (TCP/IP);
    // a terminator 0-255: up to and including it, within `length` (0: the buffer's size);
    // length 0 with terminator -1 selects LF and reads up to the buffer's size.
    // Returns the bytes stored, 0 on failure (status 6, 7 or 9; never a partial reply for a
    // terminated read) or when not open.
    virtual int Read(std::span<char> buffer, int length, int terminator = -1) = 0;
    virtual void Flush() = 0;
    virtual void PurgeInput() = 0;
    virtual std::string Describe(int address) const = 0;
    virtual bool IsNetwork() const = 0;
    virtual int GetDataBits() const = 0;
    // How long a read waits for its next byte before it gives up: a serial line's byte
    // time-out, a network link's receive time-out and its grace second.
    virtual int ReadWaitMs() const = 0;
    // Shows the status to the user; returns the message-box result. prefix null = "Error on
    // serial device at port <n>:" (a TCP/IP stream names its TCP port in the same words).
    // Status 6 shows the system's text of the failure instead and returns IDABORT.
    virtual int ShowError(const char* prefix, unsigned type);

    PortStatus Status() const { return status_; }
    void SetStatus(PortStatus status) { status_ = status; }
    StreamState State() const { return state_; }
    int PortNumber() const { return portNumber_; }
    // The errno of the last failure of the system call underneath (0 when none).
    int SystemError() const { return systemError_; }
    // The prefix ShowError uses when it is given none.
    std::string DefaultErrorPrefix() const;

    // Every wait of the reads that follow ends by `deadlineMs` on the UI clock at the latest,
    // for a reply that must come within a wait already begun; 0 lifts the limit.
    void LimitWaits(int64_t deadlineMs) { waitLimit_ = deadlineMs; }
    int64_t WaitLimit() const { return waitLimit_; }

    // "Communications status OK" ... "Protocol error in response"; out of range gives "".
    static const char* StatusText(int status);

protected:
    PortStatus status_ = kStatusOk;
    StreamState state_ = kStateClosed;
    int portNumber_ = 0;
    int systemError_ = 0;
    int64_t waitLimit_ = 0;
};

}  // namespace qs
