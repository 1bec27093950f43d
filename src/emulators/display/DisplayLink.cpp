#include "emulators/display/DisplayLink.h"

#include <algorithm>
#include <ctime>

#include "emulators/display/DisplayCrc.h"
#include "emulators/display/KeyFrame.h"
#include "platform/BusyScope.h"

namespace qs::display {
namespace {

constexpr uint8_t kSync = 0x02;
constexpr std::array<uint8_t, 3> kEndMarker{0x03, 0x7F, 0x7F};

}  // namespace

DisplayLink::DisplayLink(DisplayEngine& engine, const Clock& clock, bool master, DisplayLinkHooks hooks)
    : engine_(engine), clock_(clock), master_(master), hooks_(std::move(hooks)) {}

void DisplayLink::Attach(ByteSource* source, KeySink* sink) {
    source_ = source;
    sink_ = sink;
    frame_.clear();
}

int DisplayLink::ReadByteUntil(int64_t deadlineMs) {
    if (!source_) return -1;
    const int b = source_->ReadByte(deadlineMs);
    if (b < 0 || b > 0xFF) return -1;
    running_ = DisplayCrc::Step(running_, static_cast<uint8_t>(b));
    if (!receivedAnything_) {
        receivedAnything_ = true;
        if (hooks_.firstByte) hooks_.firstByte();
    }
    return b;
}

int DisplayLink::ReadByteNoWait() { return ReadByteUntil(clock_.NowMs()); }

int DisplayLink::ReadByteWait() { return ReadByteUntil(clock_.NowMs() + kFrameTimeoutMs); }

int DisplayLink::Next() {
    if (starved_) return -1;
    if (pos_ < frame_.size()) return frame_[pos_++];
    const int b = ReadByteUntil(std::min(frameDeadline_, passDeadline_));
    if (b < 0) {
        starved_ = true;
        return -1;
    }
    frame_.push_back(static_cast<uint8_t>(b));
    ++pos_;
    return b;
}

uint16_t DisplayLink::NextU16() {
    const int lo = Next();
    const int hi = Next();
    return static_cast<uint16_t>((hi & 0xFF) << 8 | (lo & 0xFF));
}

uint32_t DisplayLink::NextU32BigEndian() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<uint32_t>(Next() & 0xFF);
    return v;
}

bool DisplayLink::NextPayload(uint8_t type, std::vector<uint8_t>& out, bool& tooLong) {
    const uint16_t n = NextU16();
    if (starved_) return false;
    if (n > kMaxPayload) {
        tooLong = true;
        return false;
    }
    out.resize(n);
    for (uint8_t& b : out) b = static_cast<uint8_t>(Next());
    if (starved_) return false;
    if (DisplayObject::IsNumeric(type)) std::reverse(out.begin(), out.end());
    out.push_back(0);
    return true;
}

DisplayLink::Marker DisplayLink::EndMarker() {
    for (uint8_t expected : kEndMarker) {
        const int b = Next();
        if (starved_) return Marker::Starved;
        if (b != expected) {
            if (hooks_.badEndMarker) hooks_.badEndMarker();
            return Marker::Bad;
        }
    }
    lastFrameCrc_ = ~running_;
    return Marker::Good;
}

void DisplayLink::Error(int code) {
    if (hooks_.error) hooks_.error(code);
}

void DisplayLink::Reply(uint8_t code) {
    if (master_) SendKeyFrame(code);
}

void DisplayLink::SendKeyFrame(uint8_t code, uint8_t address, uint8_t flags) {
    if (!sink_) return;
    const int64_t now = hooks_.wallSeconds ? hooks_.wallSeconds() : static_cast<int64_t>(std::time(nullptr));
    const KeyFrame::Bytes frame = KeyFrame::Build(address, code, KeyFrame::StampOf(now), flags);
    sink_->Write(frame);
}

void DisplayLink::ReceiveFrames() {
    if (busy_) return;
    BusyScope busy(busy_);
    if (!Panel()) remembered_[0] = remembered_[1] = 0;
    if (!source_) return;
    passDeadline_ = clock_.NowMs() + kPassBudgetMs;
    for (;;) {
        if (frame_.empty()) {
            if (clock_.NowMs() >= passDeadline_) return;
            const int b = ReadByteNoWait();
            if (b < 0) return;
            if (b != kSync) continue;
            frame_.push_back(kSync);
            frameDeadline_ = clock_.NowMs() + kFrameTimeoutMs;
        }
        const Outcome outcome = ParseFrame();
        if (outcome == Outcome::Starved) {
            // Finished by a later pass, unless it has had its time.
            if (clock_.NowMs() < frameDeadline_) return;
            frame_.clear();
            continue;
        }
        frame_.clear();
        if (outcome == Outcome::EndPass) return;
    }
}

DisplayLink::Outcome DisplayLink::ParseFrame() {
    // Read from the start again: the bytes a suspended pass read are kept in frame_.
    pos_ = 1;
    starved_ = false;
    const int second = Next();
    if (starved_) return Outcome::Starved;
    if (second != kSync) return Outcome::Done;
    const int address = Next();
    if (starved_) return Outcome::Starved;
    if (address != kUnitAddress) return Outcome::EndPass;
    const int command = Next();
    if (starved_) return Outcome::Starved;
    switch (command) {
    case kDefine: return Define();
    case kUpdate: return Update();
    case kWindow: return WindowOrControl();
    case kDelete: return Delete();
    case kStatusLine: return Panel() ? StatusLine(true) : Outcome::Done;
    case kPollReply: return Panel() ? StatusLine(false) : Outcome::Done;
    default: return Outcome::Done;
    }
}

DisplayLink::Outcome DisplayLink::Define() {
    const uint16_t w = NextU16();
    const auto p = static_cast<uint8_t>(Next());
    const auto displayByte = static_cast<uint8_t>(Next());
    DisplayObject record;
    record.id = NextU16();
    record.type = static_cast<uint8_t>(Next());
    record.flags = static_cast<uint8_t>(Next());
    record.x = NextU16();
    record.y = NextU16();
    if (record.IsGraphic()) {
        record.x2 = NextU16();
        record.y2 = NextU16();
        record.aux = static_cast<uint8_t>(Next());
        record.depth = static_cast<uint8_t>(Next());
        record.colour = static_cast<uint8_t>(Next());
        for (uint32_t& v : record.values) {
            const uint32_t low = NextU16();
            v = low | static_cast<uint32_t>(NextU16()) << 16;
        }
    } else {
        record.colours = static_cast<uint8_t>(Next());
        record.font = static_cast<uint8_t>(Next());
        for (char& c : record.format) c = static_cast<char>(Next());
    }
    bool tooLong = false;
    std::vector<uint8_t> payload;
    if (!NextPayload(record.type, payload, tooLong)) {
        if (tooLong) Error(kPayloadTooLong);
        return tooLong ? Outcome::Done : Outcome::Starved;
    }
    const Marker marker = EndMarker();
    if (marker != Marker::Good) return marker == Marker::Starved ? Outcome::Starved : Outcome::Done;

    if (w == 0) {
        Error(kWindowIdZero);
        return Outcome::Done;
    }
    DisplayList& list = engine_.List();
    const int d = displayByte & 3;
    if (!list.FindDisplayWindow(w, d) && !list.AddWindow(w, displayByte)) {
        Error(kNoRoom);
        return Outcome::Done;
    }
    DisplayObject* object = list.FindDisplayObject(record.id, d);
    if (!object) object = list.AddDisplayObject(record.id, d);
    if (!object) {
        Error(kNoRoom);
        return Outcome::Done;
    }
    object->type = record.type;
    object->flags = static_cast<uint8_t>((record.flags & 0xC0) | (object->flags & DisplayObject::kReferenceMask));
    object->x = record.x;
    object->y = record.y;
    object->colours = record.colours;
    object->font = record.font;
    object->format = record.format;
    object->x2 = record.x2;
    object->y2 = record.y2;
    object->aux = record.aux;
    object->depth = record.depth;
    object->colour = record.colour;
    object->values = record.values;
    object->MarkChanged();
    if (!list.SetPayload(*object, d, std::move(payload)) || !list.AttachDisplayObject(w, record.id, d)) {
        Error(kNoRoom);
        return Outcome::Done;
    }
    if (w != remembered_[static_cast<size_t>(d)]) {
        list.SelectWindow(w, p, d);
        remembered_[static_cast<size_t>(d)] = w;
        if (!Panel()) list.CollectGarbage(d);
    }
    redrawNeeded_ = true;
    return Outcome::Done;
}

DisplayLink::Outcome DisplayLink::Update() {
    DisplayList& list = engine_.List();
    const uint16_t id = NextU16();
    if (starved_) return Outcome::Starved;
    DisplayObject* object = nullptr;
    uint8_t v = 0, displayByte = 0;
    if (!Panel()) {
        object = list.FindDisplayObject(id, 0);
        if (!object) {
            Error(kUnknownTarget);
            return Outcome::Done;
        }
    }
    v = static_cast<uint8_t>(Next());
    displayByte = static_cast<uint8_t>(Next());
    if (starved_) return Outcome::Starved;
    const int d = displayByte & 3;
    if (Panel()) {
        object = list.FindDisplayObject(id, d);
        if (!object) {
            Error(kUnknownTarget);
            return Outcome::Done;
        }
    }
    bool tooLong = false;
    std::vector<uint8_t> payload;
    if (!NextPayload(object->type, payload, tooLong)) {
        if (tooLong) Error(kPayloadTooLong);
        return tooLong ? Outcome::Done : Outcome::Starved;
    }
    const Marker marker = EndMarker();
    if (marker != Marker::Good) return marker == Marker::Starved ? Outcome::Starved : Outcome::Done;

    if (object->IsGraphic()) object->colour = v;
    else object->colours = v;
    if (!list.SetPayload(*object, d, std::move(payload))) Error(kNoRoom);
    if (object->type & DisplayObject::kOnlyWhenChanged) object->MarkChanged();
    redrawNeeded_ = true;
    return Outcome::Done;
}

DisplayLink::Outcome DisplayLink::WindowOrControl() {
    const uint16_t w = NextU16();
    const auto p = static_cast<uint8_t>(Next());
    const auto displayByte = static_cast<uint8_t>(Next());
    if (starved_) return Outcome::Starved;
    const int d = displayByte & 3;
    if (w == 0) return Control(p, d);
    const Marker marker = EndMarker();
    if (marker != Marker::Good) return marker == Marker::Starved ? Outcome::Starved : Outcome::Done;
    if (engine_.List().SelectWindow(w, p, d)) {
        remembered_[static_cast<size_t>(d)] = w;
        redrawNeeded_ = true;
    }
    return Outcome::Done;
}

DisplayLink::Outcome DisplayLink::Control(uint8_t sub, int display) {
    // The fields each request carries before its end marker.
    uint32_t crc = 0;
    int data = 0;
    switch (sub) {
    case 0x01: crc = NextU32BigEndian(); break;
    case 'S':
        for (int i = 0; i < 4; ++i) Next();
        break;
    case 'T': Next(); break;
    case 'U': data = Next(); break;
    default: break;
    }
    if (starved_) return Outcome::Starved;
    const uint32_t before = lastFrameCrc_;
    const Marker marker = EndMarker();
    if (marker != Marker::Good) return marker == Marker::Starved ? Outcome::Starved : Outcome::Done;

    switch (sub) {
    case 0x00:
        running_ = 0xFFFFFFFFu;
        Reply(kAck);
        break;
    case 0x01:
        if (crc != before) {
            Error(kCrcMismatch);
            break;
        }
        Reply(kAck);
        break;
    case 'R':
        Reply(kResetBegin);
        engine_.ClearScreenOf(display);
        redrawNeeded_ = true;
        Reply(kResetDone);
        break;
    case 'S':
    case 'T':
        Reply(kAck);
        Reply(kHandshakeDone);
        break;
    case 'U':
        if (!Panel()) {
            engine_.SetActiveDisplay(data);
            redrawNeeded_ = true;
        }
        Reply(kAck);
        break;
    default: Error(kUnknownTarget); break;
    }
    return Outcome::Done;
}

DisplayLink::Outcome DisplayLink::Delete() {
    const uint16_t id = NextU16();
    const int kind = Next();
    const int d = Next() & 3;
    if (starved_) return Outcome::Starved;
    const Marker marker = EndMarker();
    if (marker != Marker::Good) return marker == Marker::Starved ? Outcome::Starved : Outcome::Done;
    DisplayList& list = engine_.List();
    if (kind != 0 ? list.DeleteDisplayObject(id, d) : list.DeleteWindow(id, d)) redrawNeeded_ = true;
    return Outcome::Done;
}

DisplayLink::Outcome DisplayLink::StatusLine(bool withText) {
    ArmStatus status;
    status.arm = static_cast<uint8_t>(Next());
    status.flags = static_cast<uint8_t>(Next());
    if (withText) {
        for (size_t i = 0; i + 1 < status.text.size(); ++i) status.text[i] = static_cast<char>(Next());
    } else {
        for (int i = 0; i < 8; ++i) Next();
    }
    if (starved_) return Outcome::Starved;
    if (withText) {
        const Marker marker = EndMarker();
        if (marker != Marker::Good) return marker == Marker::Starved ? Outcome::Starved : Outcome::Done;
    } else {
        running_ = 0xFFFFFFFFu;
    }
    status.hasText = withText;
    // The owner shows the text on the status lines.
    if (withText) redrawNeeded_ = true;
    if (hooks_.armStatus) hooks_.armStatus(status);
    return Outcome::Done;
}

}  // namespace qs::display
