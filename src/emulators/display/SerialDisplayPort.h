#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "emulators/display/DisplayPort.h"
#include "platform/Clock.h"
#include "platform/SerialDevice.h"

namespace qs::display {

// The display link on a serial line: 38400 baud, 8 data bits, no parity, one stop bit, no
// flow control, one byte per read.
class SerialDisplayPort final : public DisplayPort {
public:
    static constexpr int64_t kWriteTimeoutMs = 1000;
    static constexpr int64_t kDrainTimeoutMs = 1000;
    enum class OpenResult { kOk, kCannotOpen, kCannotSetUp };

    explicit SerialDisplayPort(const Clock& clock) : clock_(clock) {}
    ~SerialDisplayPort() override { Close(); }

    OpenResult Open(const std::string& path);
    int ReadByte(int64_t deadlineMs) override;
    void Write(std::span<const uint8_t> frame) override;
    // Waits (bounded) until what was written has left, then closes.
    void Close() override;

private:
    const Clock& clock_;
    SerialDevice device_;
};

}  // namespace qs::display
