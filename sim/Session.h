#pragma once
#include <cstdint>
#include <memory>
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
    bool log = true;      // Send: false for the later pieces of a frame written in parts
};

class DisplaySession;

// One link to the device: a TCP connection or the pty. Keeps its frame parser and its open
// block write; values and data sets are the controller's. When the display options allow it, a
// pty handed over to an emulator ("SV " 0416 or an accepted 0417) speaks the display protocol
// until the emulator's exit key.
class Session {
public:
    Session(Controller& controller, Transport transport, int link);
    ~Session();

    std::vector<SessionEvent> OnBytes(std::string_view data, int64_t nowMs);

    static Bytes NoiseBytes(int count);

private:
    void OnFrame(const Frame& frame, std::vector<SessionEvent>& out);
    void HandOver(uint16_t code, std::vector<SessionEvent>& out);
    // Bytes a command sends after its reply (a printed report), as they are.
    void StreamAfter(const Frame& frame, int64_t delayMs, std::vector<SessionEvent>& out);
    LogRecord Record(bool sent) const;

    Controller& controller_;
    Transport transport_;
    int link_;
    FrameParser parser_;
    BlockTransfer blocks_;
    int frames_ = 0;
    std::unique_ptr<DisplaySession> display_;
};

}  // namespace sim
