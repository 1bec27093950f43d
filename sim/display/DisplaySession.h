#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "display/DemoScreens.h"
#include "display/DisplayOptions.h"
#include "display/KeyFrameReader.h"
#include "Session.h"
#include "wire/Crc32.h"

namespace sim {

// One display link: a TCP connection to the display port, or a pty handed over to an
// emulator. It sends the demo screens at the start, logs every key frame with its checks,
// checks the replies an emulator in master mode owes to the control frames (in order), shows
// each key pressed, and answers the operator panel's polls.
class DisplaySession {
public:
    enum class Mode { RemoteDisplay, OperatorPanel };
    static constexpr uint8_t kExit = 0xF8;
    static constexpr uint8_t kPoll = 0xF3;
    static constexpr uint8_t kHello = 0xFF;  // the operator panel's first key after its first poll
    static constexpr uint8_t kRequestFlag = 0x04;    // an arm asks to become the panel's current arm
    static constexpr int kForCurrentArm = 0x80;      // a key frame's flags: the key is for the current arm

    // `arms`: the addresses that answer the operator panel's polls (none given: every address).
    DisplaySession(const DisplayOptions& options, Mode mode, Transport transport, int link, std::vector<int> arms = {});

    // A pty handed over starts drawing this much later, so the emulator has the line open.
    static constexpr int64_t kHandoverDelayMs = 1000;

    // The demo screens, the first frame `delayMs` from now.
    std::vector<SessionEvent> Start(int64_t delayMs = 0);
    std::vector<SessionEvent> OnBytes(std::string_view data);
    // The emulator sent its exit key: a handed-over pty goes back to commands.
    bool Ended() const { return ended_; }
    bool Master() const { return master_; }

private:
    void Emit(std::vector<SessionEvent>& out, const ScriptFrame& frame);
    void OnKey(const KeyFrameRecord& key, LogRecord& record, std::vector<SessionEvent>& out);
    void OnPoll(uint8_t arm, LogRecord& record, std::vector<SessionEvent>& out);
    // A key for the panel's current arm: the display turns to that arm when it is another.
    void FollowArm(const KeyFrameRecord& key, std::vector<SessionEvent>& out);
    LogRecord Record(bool sent) const;

    DisplayOptions options_;
    Mode mode_;
    Transport transport_;
    int link_;
    bool master_;
    KeyFrameReader reader_;
    std::deque<uint8_t> expected_;  // replies owed, in order
    bool checking_ = false;         // a CRC run is open
    Crc32 crc_;                     // over every byte sent since the run began
    uint32_t lastGood_ = 0;         // the CRC as of the last correct end marker sent
    int64_t offset_ = 0;            // delay of the next piece in this batch
    bool stalled_ = false;
    int keys_ = 0;
    bool ended_ = false;
    std::vector<int> arms_;
    std::set<int> requested_;     // arms that have asked once to become current
    std::map<int, int> armKeys_;  // keys each arm was sent
    int shownArm_ = 1;
};

}  // namespace sim
