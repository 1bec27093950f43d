#pragma once
#include <string>

#include "wire/Bytes.h"
#include "wire/FrameCodec.h"

namespace sim {

enum class Transport { Tcp, Pty };

// One line of the frame log: a frame (or noise, or raw echo bytes) received or sent.
struct LogRecord {
    bool sent = false;
    Transport transport = Transport::Tcp;
    int link = 0;              // which connection or pty
    std::string kind = "frame"; // "frame", "noise" or "raw" (the echo persona's bytes, a printed report)
    Framing framing = Framing::None;
    bool binary = false;
    int address = -1;
    Bytes raw;                 // the bytes on the wire
    Bytes text;                // the frame's text or unescaped block
    std::string error;         // why a received frame is not answered

    static LogRecord Of(bool sent, Transport transport, int link) {
        LogRecord r;
        r.sent = sent;
        r.transport = transport;
        r.link = link;
        return r;
    }
};

}  // namespace sim
