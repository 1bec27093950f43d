#pragma once
#include <string>

#include "wire/Bytes.h"
#include "wire/FrameCodec.h"

namespace sim {

// One unit the parser hands on: a request frame, or bytes that belonged to no frame (framing
// None). A frame with an error is logged and never answered.
struct Frame {
    Framing framing = Framing::None;
    bool binary = false;  // a Minicomputer block: "SV " and a transfer code 0x04xx
    int address = -1;     // -1 when the two address characters are not digits
    Bytes raw;            // every byte as it arrived, start character to trailer
    Bytes payload;        // the text, or the unescaped block, after the address digits
    std::string error;    // empty for a sound frame

    bool IsNoise() const { return framing == Framing::None; }
    bool Sound() const { return !IsNoise() && error.empty(); }
};

}  // namespace sim
