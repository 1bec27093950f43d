#include "display/DisplaySession.h"

#include <algorithm>
#include <ctime>

#include "display/DisplayFrames.h"

namespace sim {
namespace {

bool IsReply(int code) { return code == 0x06 || code == 0xF0 || code == 0xFB || code == 0xF1; }

std::string Hex2(int v) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[(v >> 4) & 0x0F], digits[v & 0x0F]};
}

}  // namespace

DisplaySession::DisplaySession(const DisplayOptions& options, Mode mode, Transport transport, int link,
                               std::vector<int> arms)
    : options_(options), mode_(mode), transport_(transport), link_(link),
      master_(options.master || transport == Transport::Pty), arms_(std::move(arms)) {}

LogRecord DisplaySession::Record(bool sent) const { return LogRecord::Of(sent, transport_, link_); }

void DisplaySession::Emit(std::vector<SessionEvent>& out, const ScriptFrame& frame) {
    Bytes wire = frame.wire;
    if (frame.crc == ScriptFrame::Crc::Check) wire = DisplayFrames::Control(0x01, 0, DisplayFrames::BigEndian(lastGood_ ^ (options_.badCrc ? 1u : 0u), 4));
    if (checking_) {
        crc_.Update(wire);
        if (frame.good) lastGood_ = crc_.Value();
    }
    if (frame.crc == ScriptFrame::Crc::Start) {
        crc_ = Crc32();
        checking_ = true;
    }
    if (master_) expected_.insert(expected_.end(), frame.replies.begin(), frame.replies.end());

    // Where the frame is cut into writes, and the pause before each piece.
    std::vector<std::pair<size_t, int64_t>> cuts;
    if (options_.splitBytes > 0) {
        for (size_t at = options_.splitBytes; at < wire.size(); at += options_.splitBytes) cuts.push_back({at, DisplayOptions::kPieceGapMs});
    }
    if (frame.stallTarget && options_.stallMs > 0 && !stalled_) {
        stalled_ = true;
        const size_t middle = wire.size() / 2;
        std::erase_if(cuts, [&](const auto& c) { return c.first == middle; });
        cuts.push_back({middle, options_.stallMs});
        std::sort(cuts.begin(), cuts.end());
    }
    size_t from = 0;
    for (size_t i = 0; i <= cuts.size(); ++i) {
        const size_t to = i < cuts.size() ? cuts[i].first : wire.size();
        SessionEvent e{SessionEvent::Type::Send, Record(true), wire.substr(from, to - from), offset_};
        if (i == 0) {
            e.record.kind = "display";
            e.record.address = 1;
            e.record.raw = wire;
            e.record.text = frame.name;
        } else {
            e.log = false;
        }
        out.push_back(std::move(e));
        if (i < cuts.size()) offset_ += cuts[i].second;
        from = to;
    }
}

std::vector<SessionEvent> DisplaySession::Start(int64_t delayMs) {
    std::vector<SessionEvent> out;
    offset_ = delayMs;
    for (const ScriptFrame& frame : DemoScreens::Script(options_, mode_ == Mode::OperatorPanel)) Emit(out, frame);
    return out;
}

std::vector<SessionEvent> DisplaySession::OnBytes(std::string_view data) {
    std::vector<SessionEvent> out;
    offset_ = 0;
    for (const KeyFrameRecord& key : reader_.Feed(data, static_cast<int64_t>(std::time(nullptr)))) {
        SessionEvent in{SessionEvent::Type::Received, Record(false), {}, 0};
        in.record.kind = key.frame ? "key" : "noise";
        in.record.raw = key.raw;
        in.record.error = key.error;
        std::vector<SessionEvent> answers;
        if (key.frame) {
            in.record.address = key.address;
            OnKey(key, in.record, answers);
        }
        out.push_back(std::move(in));
        for (SessionEvent& e : answers) out.push_back(std::move(e));
    }
    return out;
}

void DisplaySession::OnKey(const KeyFrameRecord& key, LogRecord& record, std::vector<SessionEvent>& out) {
    const auto code = static_cast<uint8_t>(key.code);
    auto fault = [&](const std::string& what) { record.error += (record.error.empty() ? "" : "; ") + what; };
    if (IsReply(code)) {
        record.text = "reply " + Hex2(code);
        if (!master_) {
            fault("reply while not master");
        } else if (expected_.empty()) {
            fault("unexpected reply " + Hex2(code));
        } else if (expected_.front() != code) {
            fault("reply " + Hex2(code) + " where " + Hex2(expected_.front()) + " was due");
            expected_.pop_front();
        } else {
            expected_.pop_front();
        }
        return;
    }
    if (code == kExit) {
        record.text = "exit";
        ended_ = true;
        return;
    }
    if (code == kPoll) {
        record.text = "poll " + std::to_string(key.address);
        if (mode_ == Mode::OperatorPanel) OnPoll(static_cast<uint8_t>(key.address), record, out);
        return;
    }
    if (code == kHello && mode_ == Mode::OperatorPanel) {
        record.text = "hello " + std::to_string(key.address);
        return;
    }
    record.text = "key " + Hex2(code);
    if (mode_ == Mode::OperatorPanel) FollowArm(key, out);
    const int keys = mode_ == Mode::OperatorPanel ? ++armKeys_[shownArm_] : ++keys_;
    for (const Bytes& wire : DemoScreens::KeyUpdates(code, keys)) {
        ScriptFrame update;
        update.wire = wire;
        update.name = "show key";
        Emit(out, update);
    }
}

void DisplaySession::OnPoll(uint8_t arm, LogRecord& record, std::vector<SessionEvent>& out) {
    if (!arms_.empty() && std::find(arms_.begin(), arms_.end(), arm) == arms_.end()) {
        record.error = "no arm at address " + std::to_string(arm);
        return;
    }
    uint8_t flags = 0;
    if (const auto found = options_.armFlags.find(arm); found != options_.armFlags.end()) flags = found->second;
    // A request to become the current arm is made once, or the panel could not leave it.
    if (flags & kRequestFlag) {
        if (requested_.count(arm)) flags &= static_cast<uint8_t>(~kRequestFlag);
        requested_.insert(arm);
    }
    ScriptFrame status;
    status.wire = DisplayFrames::StatusLine(arm, flags, "Arm " + std::to_string(arm) + ((flags & 0x01) ? " ATTENTION" : " idle"));
    status.name = "status line " + std::to_string(arm);
    Emit(out, status);
    ScriptFrame reply;
    reply.wire = DisplayFrames::PollReply(arm, flags);
    reply.name = "poll reply " + std::to_string(arm);
    reply.good = false;
    Emit(out, reply);
    // The poll reply starts the emulator's CRC over.
    crc_ = Crc32();
    lastGood_ = 0;
}

void DisplaySession::FollowArm(const KeyFrameRecord& key, std::vector<SessionEvent>& out) {
    if (!(key.flags & kForCurrentArm) || key.address <= 0 || key.address == shownArm_) return;
    shownArm_ = key.address;
    for (const Bytes& wire : DemoScreens::ArmUpdates(shownArm_, armKeys_[shownArm_])) {
        ScriptFrame update;
        update.wire = wire;
        update.name = "show arm " + std::to_string(shownArm_);
        Emit(out, update);
    }
}

}  // namespace sim
