#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "emulators/display/DisplayEngine.h"
#include "emulators/display/DisplayPort.h"
#include "platform/Clock.h"

namespace qs::display {

// A status record of one arm, from the operator panel's frames 0x15 (with its status text)
// and 0x16 (without).
struct ArmStatus {
    uint8_t arm = 0;
    uint8_t flags = 0;
    bool hasText = false;
    std::array<char, 30> text{};  // 29 characters and a closing 0
};

// What the link tells its owner. Every member may be left empty.
struct DisplayLinkHooks {
    std::function<void(int code)> error;            // a frame refused: 248, 252-255
    std::function<void()> badEndMarker;             // a frame dropped for its end marker
    std::function<void()> firstByte;                // the first byte ever received
    std::function<void(const ArmStatus&)> armStatus;
    std::function<int64_t()> wallSeconds;           // seconds since 1970 for time stamps; time() when empty
};

// The emulator's end of the display protocol. Each receive pass reads the frames that have
// come, checks them and applies them to the engine's display list. A pass takes about 200 ms
// at the most, so the window that calls it on its timer never freezes: a frame that is not
// complete when the pass ends is kept and finished by a later pass, and given up when it has
// not ended 3 s after its first byte. Every byte either reader delivers feeds the running
// CRC, which starts at 0.
class DisplayLink {
public:
    static constexpr int64_t kFrameTimeoutMs = 3000;
    static constexpr int64_t kPassBudgetMs = 200;
    static constexpr size_t kMaxPayload = 1024;
    static constexpr uint8_t kUnitAddress = 1;

    enum : int { kWindowIdZero = 248, kPayloadTooLong = 252, kNoRoom = 253, kUnknownTarget = 254, kCrcMismatch = 255 };
    enum : uint8_t { kAck = 0x06, kResetBegin = 0xF0, kResetDone = 0xFB, kHandshakeDone = 0xF1, kExit = 0xF8, kPoll = 0xF3 };
    enum : uint8_t { kDefine = 0x11, kUpdate = 0x12, kWindow = 0x13, kDelete = 0x14, kStatusLine = 0x15, kPollReply = 0x16 };

    // `master`: the link answers the device's control frames (the remote display in MASTER
    // mode; the operator panel always).
    DisplayLink(DisplayEngine& engine, const Clock& clock, bool master, DisplayLinkHooks hooks = {});
    DisplayLink(const DisplayLink&) = delete;
    DisplayLink& operator=(const DisplayLink&) = delete;

    // The port to read and write; nullptr for none (reads then yield nothing). A frame half
    // read from an older port is dropped.
    void Attach(ByteSource* source, KeySink* sink);

    int ReadByteNoWait();
    // Waits up to 3 s for a byte.
    int ReadByteWait();

    // One receive pass; a call made while a pass runs returns at once.
    void ReceiveFrames();

    // Builds a key frame and writes it whole; address and flags are the operator panel's.
    void SendKeyFrame(uint8_t code, uint8_t address = 0, uint8_t flags = 0);

    bool RedrawNeeded() const { return redrawNeeded_; }
    void ClearRedrawNeeded() { redrawNeeded_ = false; }
    bool ReceivedAnything() const { return receivedAnything_; }
    bool FramePending() const { return !frame_.empty(); }
    uint32_t RunningCrc() const { return running_; }
    uint32_t LastFrameCrc() const { return lastFrameCrc_; }
    uint16_t RememberedWindow(int display) const { return remembered_[static_cast<size_t>(display & 3)]; }
    bool Master() const { return master_; }

private:
    enum class Outcome { Done, Starved, EndPass };
    enum class Marker { Good, Bad, Starved };

    int ReadByteUntil(int64_t deadlineMs);
    // The frame's next byte: from what was read of it already, else from the port.
    int Next();
    uint16_t NextU16();
    uint32_t NextU32BigEndian();
    bool NextPayload(uint8_t type, std::vector<uint8_t>& out, bool& tooLong);
    Marker EndMarker();

    Outcome ParseFrame();
    Outcome Define();
    Outcome Update();
    Outcome WindowOrControl();
    Outcome Control(uint8_t sub, int display);
    Outcome Delete();
    Outcome StatusLine(bool withText);
    void Error(int code);
    void Reply(uint8_t code);
    bool Panel() const { return engine_.Variant() == DisplayVariant::OperatorPanel; }

    DisplayEngine& engine_;
    const Clock& clock_;
    bool master_;
    DisplayLinkHooks hooks_;
    ByteSource* source_ = nullptr;
    KeySink* sink_ = nullptr;

    uint32_t running_ = 0;
    uint32_t lastFrameCrc_ = 0;
    bool receivedAnything_ = false;
    bool redrawNeeded_ = false;
    bool busy_ = false;
    std::array<uint16_t, DisplayList::kDisplays> remembered_{};

    // The frame being read, from its first 02: kept across passes until it is done.
    std::vector<uint8_t> frame_;
    size_t pos_ = 0;
    bool starved_ = false;
    int64_t frameDeadline_ = 0;
    int64_t passDeadline_ = 0;
};

}  // namespace qs::display
