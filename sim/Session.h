#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "device/BlockTransfer.h"
#include "device/Controller.h"
#include "wire/FrameParser.h"
#include "wire/LogRecord.h"

namespace sim {

// What a link must do, in order: log a received frame, send bytes (after a delay), or close.
struct SessionEvent {
    enum class Type { Received, Send, Close };
    Type type = Type::Received;
    LogRecord record;
    Bytes wire;           // Send: the bytes
    int64_t delayMs = 0;  // Send: held back this long
};

// One link to the device: a TCP connection or the pty. Keeps its frame parser and its open
// block write; values and data sets are the controller's.
class Session {
public:
    Session(Controller& controller, Transport transport, int link);

    std::vector<SessionEvent> OnBytes(std::string_view data, int64_t nowMs);

    static Bytes NoiseBytes(int count);

private:
    void OnFrame(const Frame& frame, std::vector<SessionEvent>& out);
    LogRecord Record(bool sent) const;

    Controller& controller_;
    Transport transport_;
    int link_;
    FrameParser parser_;
    BlockTransfer blocks_;
    int frames_ = 0;
};

}  // namespace sim
