#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "wire/Frame.h"

namespace sim {

// Splits the bytes of one link into frames, framing detected per frame from its start
// character. A Minicomputer text frame has the LRC, 0x7F, 0x00 trailer on serial lines only;
// a block carries it on every link. The trailer is read by count and checked, so that its
// bytes (the LRC may be any value, STX included) are never taken for the next frame.
class FrameParser {
public:
    // Longest frame kept, start character to trailer: a 4096-byte text or a fully escaped
    // 1024-byte block fits with room to spare.
    static constexpr size_t kMaxFrame = 8192;

    FrameParser(bool serial, int64_t frameTimeoutMs) : serial_(serial), timeoutMs_(frameTimeoutMs) {}

    // Frames completed by `data`, and the noise skipped while looking for a start, in the order
    // they arrived. A frame left half-done longer than the frame time-out is given up (reported
    // as noise with an error) before the new bytes are looked at.
    std::vector<Frame> Feed(std::string_view data, int64_t nowMs);

    bool Idle() const { return state_ == State::Idle; }

private:
    enum class State { Idle, Terminal, Mini, Trailer };

    void Start(Framing framing, char first, std::vector<Frame>& out);
    void FlushNoise(std::vector<Frame>& out);
    void Abandon(const char* error, std::vector<Frame>& out);
    void FinishTerminal(std::vector<Frame>& out);
    void EndMiniBody(std::vector<Frame>& out);
    void FinishMini(std::vector<Frame>& out);
    static int ParseAddress(std::string_view body);

    bool serial_;
    int64_t timeoutMs_;
    int64_t lastByteMs_ = 0;
    State state_ = State::Idle;
    Bytes current_;       // the frame so far, start character included
    size_t bodyEnd_ = 0;  // index of ETX in current_ while the trailer is read
    bool binary_ = false;
    Bytes noise_;
};

}  // namespace sim
