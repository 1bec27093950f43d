#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace qs::display {

// Where the display link reads the device's bytes.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // One byte 0-255, or -1 when none came by `deadlineMs` (on the link's clock); a deadline
    // already past takes only a byte that is there.
    virtual int ReadByte(int64_t deadlineMs) = 0;
};

// Where the display link sends key frames: each one whole or not at all.
class KeySink {
public:
    virtual ~KeySink() = default;
    virtual void Write(std::span<const uint8_t> frame) = 0;
};

// A serial line or a TCP connection to the device's display port.
class DisplayPort : public ByteSource, public KeySink {
public:
    // Sends what is still queued (within a bounded wait) and closes.
    virtual void Close() = 0;
};

}  // namespace qs::display
