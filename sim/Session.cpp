#include "Session.h"

#include "display/DisplaySession.h"

namespace sim {
namespace {

constexpr size_t kShortReply = 14;

}  // namespace

Session::Session(Controller& controller, Transport transport, int link)
    : controller_(controller),
      transport_(transport),
      link_(link),
      parser_(transport == Transport::Pty, controller.Config().frameTimeoutMs),
      blocks_(controller.DataSets(), controller.Config().block, &controller.SpecialBlocks()) {}

Session::~Session() = default;

void Session::HandOver(uint16_t code, std::vector<SessionEvent>& out) {
    const auto mode = code == BlockTransfer::kPanelHandover ? DisplaySession::Mode::OperatorPanel
                                                            : DisplaySession::Mode::RemoteDisplay;
    display_ = std::make_unique<DisplaySession>(controller_.Config().display, mode, transport_, link_,
                                                controller_.Config().addresses);
    for (SessionEvent& e : display_->Start(DisplaySession::kHandoverDelayMs)) out.push_back(std::move(e));
}

void Session::StreamAfter(const Frame& frame, int64_t delayMs, std::vector<SessionEvent>& out) {
    std::string bytes = controller_.Commands().StreamAfter(frame.address, frame.payload);
    if (bytes.empty()) return;
    SessionEvent stream{SessionEvent::Type::Send, Record(true), Bytes(bytes), delayMs};
    stream.record.kind = "raw";
    stream.record.raw = stream.wire;
    out.push_back(std::move(stream));
}

LogRecord Session::Record(bool sent) const { return LogRecord::Of(sent, transport_, link_); }

Bytes Session::NoiseBytes(int count) {
    Bytes out;
    out.reserve(static_cast<size_t>(count));
    unsigned v = 0x5A;
    while (static_cast<int>(out.size()) < count) {
        v = (v * 37 + 11) & 0xFF;
        const char c = static_cast<char>(v);
        if (c == FrameCodec::kStar || c == FrameCodec::kStx || c == FrameCodec::kEtx || c == FrameCodec::kCr ||
            c == FrameCodec::kLf) {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::vector<SessionEvent> Session::OnBytes(std::string_view data, int64_t nowMs) {
    std::vector<SessionEvent> out;
    if (controller_.GetPersona().echo) {
        // A loop-back cable knows nothing of frames.
        if (data.empty()) return out;
        SessionEvent in{SessionEvent::Type::Received, Record(false), {}, 0};
        in.record.kind = "raw";
        in.record.raw = Bytes(data);
        SessionEvent back{SessionEvent::Type::Send, Record(true), Bytes(data), 0};
        back.record.kind = "raw";
        back.record.raw = Bytes(data);
        out.push_back(std::move(in));
        out.push_back(std::move(back));
        return out;
    }
    if (display_) {
        out = display_->OnBytes(data);
        if (display_->Ended()) display_.reset();
        return out;
    }
    for (const Frame& frame : parser_.Feed(data, nowMs)) OnFrame(frame, out);
    return out;
}

void Session::OnFrame(const Frame& frame, std::vector<SessionEvent>& out) {
    SessionEvent in{SessionEvent::Type::Received, Record(false), {}, 0};
    LogRecord& r = in.record;
    r.kind = frame.IsNoise() ? "noise" : "frame";
    r.framing = frame.framing;
    r.binary = frame.binary;
    r.address = frame.address;
    r.raw = frame.raw;
    r.text = frame.payload;
    r.error = frame.error;
    if (!frame.IsNoise()) ++frames_;
    const bool answerable = frame.Sound() && controller_.Serves(frame.address);
    if (frame.Sound() && !answerable) r.error = "address not served";
    out.push_back(std::move(in));
    if (!answerable || controller_.GetPersona().silent) return;

    // Only a serial line is handed to the display; on TCP the emulator has a port of its own.
    const bool handover = frame.binary && transport_ == Transport::Pty && controller_.Config().display.handover &&
                          blocks_.Classify(frame.payload).kind == BlockKind::Handover;
    FrameTraits traits;
    traits.address = frame.address;
    traits.framing = frame.framing;
    traits.binary = frame.binary;
    traits.payload = frame.payload;
    traits.connectionFrame = frames_;
    if (frame.binary) {
        const BlockInfo info = blocks_.Classify(frame.payload);
        traits.code = info.code;
        traits.block = info.block;
        traits.final = info.final;
    }
    const FaultEffects fx = controller_.Faults().Apply(traits);
    if (fx.close) {
        out.push_back({SessionEvent::Type::Close, Record(true), {}, fx.delayMs});
        return;
    }

    Bytes reply;
    if (frame.binary) {
        std::optional<Bytes> block;
        if (fx.status) {
            block = blocks_.Refuse(frame.payload, *fx.status);
        } else {
            block = blocks_.Handle(frame.address, frame.payload, BlockFaults{fx.badCrc, fx.length, fx.emptyBlock});
        }
        if (!block) {
            if (handover) HandOver(BlockTransfer::CodeOf(frame.payload), out);
            return;
        }
        reply = std::move(*block);
        if (fx.shortReply && reply.size() > kShortReply) reply.resize(kShortReply);
    } else if (fx.reject) {
        reply = CommandProcessor::Rejection(*fx.reject);
    } else {
        reply = controller_.Commands().Handle(frame.address, frame.payload);
    }
    if (fx.longReply > reply.size()) reply.resize(fx.longReply, 'X');
    if (fx.drop) return;

    if (fx.noise > 0) {
        SessionEvent noise{SessionEvent::Type::Send, Record(true), NoiseBytes(fx.noise), fx.delayMs};
        noise.record.kind = "noise";
        noise.record.raw = noise.wire;
        out.push_back(std::move(noise));
    }
    SessionEvent send{SessionEvent::Type::Send, Record(true), {}, fx.delayMs};
    if (frame.framing == Framing::Terminal) {
        send.wire = FrameCodec::TerminalFrame(frame.address, reply, !fx.noCr);
    } else {
        // The program reads two bytes after ETX on every link, so the LRC and pad always follow.
        send.wire = FrameCodec::MiniFrame(frame.address, reply, frame.binary, true, controller_.Config().pad, fx.badLrc);
    }
    send.record.framing = frame.framing;
    send.record.binary = frame.binary;
    send.record.address = frame.address;
    send.record.raw = send.wire;
    const bool accepted = reply.size() >= 7 && (static_cast<uint8_t>(reply[5]) & 0x80) == 0;
    send.record.text = std::move(reply);
    const bool rejected = !frame.binary && send.record.text.starts_with("NO");
    out.push_back(std::move(send));
    if (handover && accepted) HandOver(BlockTransfer::CodeOf(frame.payload), out);
    if (!frame.binary && !rejected) StreamAfter(frame, fx.delayMs, out);
}

}  // namespace sim
