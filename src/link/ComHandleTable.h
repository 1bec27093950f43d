#pragma once
#include <array>
#include <cstddef>
#include <memory>
#include <span>

#include "platform/SerialDevice.h"
#include "platform/SerialSettings.h"

namespace qs {

// One open serial line, shared by every SerialPort on its COM number and closed when the last
// of them lets it go.
class ComHandle {
public:
    ComHandle(int comPort, const SerialSettings& settings) : comPort_(comPort), settings_(settings) {}
    ComHandle(const ComHandle&) = delete;
    ComHandle& operator=(const ComHandle&) = delete;

    int ComPort() const { return comPort_; }
    // The settings the line runs with (the first opener's).
    const SerialSettings& Settings() const { return settings_; }
    SerialDevice& Device() { return device_; }
    // How long a read waits for each byte: 1000 / (baud index + 1) + 2000 ms.
    int ByteTimeoutMs() const;

    // Opens the configured path of the COM number and sets the line up; errno kept on failure.
    [[nodiscard]] bool Open();
    // All `length` bytes, or false with the errno kept.
    [[nodiscard]] bool Write(const char* data, size_t length);
    // A fixed count (terminator outside 0-255) or up to and including the terminator, never
    // past the buffer: the count, or -6 (read failed), -7 (time-out), -9 (buffer full first).
    // For a terminated read a length of 0 or less means the buffer's size. Each byte is
    // waited for ByteTimeoutMs(), and never past `limitMs` on the UI clock when that is set.
    int Read(std::span<char> buffer, int length, int terminator, int64_t limitMs = 0);

    int LastError() const { return device_.LastError(); }

private:
    int comPort_;
    SerialSettings settings_;
    SerialDevice device_;
};

// The process-wide table of open serial lines by COM number (1-99). A SerialPort takes the
// line of its COM number from here, opening it when no one has it open; the plain port
// functions act on whatever line is open there.
class ComHandleTable {
public:
    static constexpr int kSlots = 100;

    static bool IsValidPort(int comPort) { return comPort >= 1 && comPort < kSlots; }
    // The open line of comPort, opened and set up with `settings` when none is; null with the
    // errno in `error` when it cannot be opened.
    static std::shared_ptr<ComHandle> Acquire(int comPort, const SerialSettings& settings, int& error);
    // The open line of comPort, or null.
    static std::shared_ptr<ComHandle> Find(int comPort);
    // How many holders the line of comPort has (0 = not open).
    static long UseCount(int comPort);

private:
    static std::array<std::weak_ptr<ComHandle>, kSlots>& Slots();
};

// The plain port functions, COM number first; each fails when the line is not open.
// Nonzero on success.
bool ComPortWrite(int comPort, const char* data, int length);
// See ComHandle::Read.
int ComPortRead(int comPort, std::span<char> buffer, int length, int terminator);
// Waits until the output has left the line.
bool ComPortFlush(int comPort);
// Drops input not read yet.
bool ComPortPurgeInput(int comPort);
// The errno of the last failure of the plain functions.
int ComPortLastError();
// The system's text of `error` (by default the last failure of the plain functions) in a box
// with the caption "Communications Error"; returns the box's result.
int ComPortShowLastError(int error);
int ComPortShowLastError();

}  // namespace qs
