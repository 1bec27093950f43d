#pragma once
#include <termios.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/SerialSettings.h"

namespace qs {

// The termios structure for a line with these settings: raw, receiver on, modem status lines
// ignored, no flow control of any kind (0x11 and 0x13 are data), speed, parity (mark and space
// through CMSPAR), 5-8 data bits and 1 or 2 stop bits. Nothing of the line's previous settings
// is kept, so the result depends on the settings alone. nullopt for settings a POSIX line cannot
// carry: one and a half stop bits, data bits outside 5-8, an unknown parity code or a speed
// without a B-constant.
std::optional<termios> MakeTermios(const SerialSettings& settings);

// The B-constant of a speed in bits per second; nullopt when the system has none.
std::optional<speed_t> SpeedConstant(uint32_t baudRate);

// The device path of COM port n: key "COMn" of section "Ports" in QS3X.INI, by default
// /dev/ttyS<n-1>. An empty value counts as missing.
std::string SerialPathForCom(int comPort);

// One open serial line. Opening takes an exclusive lock, so a second opener in this or any
// other process is refused while this one holds the line. Every failure keeps its errno for
// the user's error text. Input is read from the line in pieces and served from a buffer of
// the line's own, so a reply costs a system call or two rather than one per byte; the purges
// drop what that buffer holds as well.
class SerialDevice {
public:
    enum class ReadResult { kByte, kTimeout, kError };

    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens `path` read-write, never as our controlling terminal, without waiting for carrier,
    // close-on-exec, and locks it. Refused (EBUSY) when another descriptor holds the lock.
    [[nodiscard]] bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    // Applies MakeTermios(settings); EINVAL when they cannot be applied.
    bool Apply(const SerialSettings& settings);
    // Raises DTR and RTS; a driver without modem lines (a pty) is not an error.
    bool RaiseModemLines();
    // Drops input not read yet.
    bool PurgeInput();
    // Drops input not read yet and output not sent yet.
    bool PurgeAll();
    // Waits until everything written has left the line.
    bool Drain();

    // Writes all `length` bytes, waiting for room until `deadlineMs` on `clock`.
    [[nodiscard]] bool WriteAll(const void* data, size_t length, int64_t deadlineMs, const Clock& clock);
    // Up to `max` bytes into `out`, ending after `terminator` when that is 0-255: bytes that
    // have arrived are taken at once; with none there, waits until `deadlineMs` on `clock` at
    // the most for the first. `got` is the count (0 unless kByte).
    ReadResult Read(uint8_t* out, size_t max, int terminator, size_t& got, int64_t deadlineMs, const Clock& clock);
    // Reads one byte, waiting until `deadlineMs` on `clock` at the most.
    ReadResult ReadByte(uint8_t& byte, int64_t deadlineMs, const Clock& clock);

    int LastError() const { return error_; }
    std::string LastErrorText() const;

private:
    bool Fail(int error);
    // Waits until `deadlineMs` for input and reads what there is into the buffer.
    ReadResult Fill(int64_t deadlineMs, const Clock& clock);
    void DropBuffered() {
        inBegin_ = inEnd_ = 0;
        lookedEmpty_ = false;
    }

    std::array<uint8_t, 4096> inbox_{};
    size_t inBegin_ = 0;
    size_t inEnd_ = 0;
    int fd_ = -1;
    bool exclusive_ = false;  // TIOCEXCL set: released before close
    // A purge found the line empty and nothing was read since: the next wait need not look
    // again before it polls (the poll returns at once for anything that came meanwhile).
    bool lookedEmpty_ = false;
    int error_ = 0;
};

}  // namespace qs
