#include "wire/FrameParser.h"

namespace sim {
namespace {

constexpr std::string_view kBlockMark("SV \x04", 4);

}  // namespace

std::vector<Frame> FrameParser::Feed(std::string_view data, int64_t nowMs) {
    std::vector<Frame> out;
    if (state_ != State::Idle && !data.empty() && nowMs - lastByteMs_ > timeoutMs_) {
        Abandon("incomplete frame", out);
    }
    if (!data.empty()) lastByteMs_ = nowMs;
    for (char c : data) {
        switch (state_) {
        case State::Idle:
            if (c == FrameCodec::kStar) {
                Start(Framing::Terminal, c, out);
            } else if (c == FrameCodec::kStx) {
                Start(Framing::Mini, c, out);
            } else {
                noise_.push_back(c);
                if (noise_.size() >= kMaxFrame) FlushNoise(out);
            }
            break;
        case State::Terminal:
            if (c == FrameCodec::kStx) {
                // A frame cut short by the start of another: keep the new one.
                Abandon("interrupted frame", out);
                Start(Framing::Mini, c, out);
                break;
            }
            current_.push_back(c);
            if (c == FrameCodec::kLf) {
                FinishTerminal(out);
            } else if (current_.size() >= kMaxFrame) {
                Abandon("frame too long", out);
            }
            break;
        case State::Mini:
            if (c == FrameCodec::kStx) {
                Abandon("interrupted frame", out);
                Start(Framing::Mini, c, out);
                break;
            }
            current_.push_back(c);
            if (c == FrameCodec::kEtx) {
                EndMiniBody(out);
            } else if (current_.size() >= kMaxFrame) {
                Abandon("frame too long", out);
            }
            break;
        case State::Trailer:
            current_.push_back(c);
            if (current_.size() == bodyEnd_ + 4) FinishMini(out);
            break;
        }
    }
    FlushNoise(out);
    return out;
}

void FrameParser::Start(Framing framing, char first, std::vector<Frame>& out) {
    FlushNoise(out);
    state_ = framing == Framing::Terminal ? State::Terminal : State::Mini;
    current_.assign(1, first);
}

void FrameParser::FlushNoise(std::vector<Frame>& out) {
    if (noise_.empty()) return;
    Frame f;
    f.raw = std::move(noise_);
    noise_.clear();
    out.push_back(std::move(f));
}

void FrameParser::Abandon(const char* error, std::vector<Frame>& out) {
    FlushNoise(out);
    Frame f;
    f.raw = std::move(current_);
    f.error = error;
    current_.clear();
    state_ = State::Idle;
    out.push_back(std::move(f));
}

int FrameParser::ParseAddress(std::string_view body) {
    if (body.size() < 2) return -1;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!digit(body[0]) || !digit(body[1])) return -1;
    return (body[0] - '0') * 10 + (body[1] - '0');
}

void FrameParser::FinishTerminal(std::vector<Frame>& out) {
    Frame f;
    f.framing = Framing::Terminal;
    f.raw = std::move(current_);
    current_.clear();
    state_ = State::Idle;
    std::string_view body = std::string_view(f.raw).substr(1, f.raw.size() - 2);  // between '*' and LF
    f.address = ParseAddress(body);
    if (body.empty() || body.back() != FrameCodec::kCr) {
        f.error = "no CR before LF";
    } else {
        body.remove_suffix(1);
    }
    if (f.address < 0) {
        if (f.error.empty()) f.error = "bad address";
    } else {
        f.payload = Bytes(body.substr(2));
    }
    out.push_back(std::move(f));
}

void FrameParser::EndMiniBody(std::vector<Frame>& out) {
    bodyEnd_ = current_.size() - 1;
    std::string_view body = std::string_view(current_).substr(1, bodyEnd_ - 1);
    binary_ = body.size() >= 2 + kBlockMark.size() && body.substr(2, kBlockMark.size()) == kBlockMark;
    if (binary_ || serial_) {
        state_ = State::Trailer;
    } else {
        FinishMini(out);
    }
}

void FrameParser::FinishMini(std::vector<Frame>& out) {
    Frame f;
    f.framing = Framing::Mini;
    f.binary = binary_;
    f.raw = std::move(current_);
    current_.clear();
    state_ = State::Idle;
    std::string_view all(f.raw);
    std::string_view body = all.substr(1, bodyEnd_ - 1);
    f.address = ParseAddress(body);
    if (f.raw.size() > bodyEnd_ + 1) {
        const uint8_t lrc = FrameCodec::Lrc(all.substr(1, bodyEnd_));
        if (ByteAt(all, bodyEnd_ + 1) != lrc) {
            f.error = "bad LRC";
        } else if (all[bodyEnd_ + 2] != FrameCodec::kDel || all[bodyEnd_ + 3] != '\0') {
            f.error = "bad trailer";
        }
    }
    if (f.address < 0) {
        if (f.error.empty()) f.error = "bad address";
    } else if (binary_) {
        UnescapeResult u = FrameCodec::Unescape(body.substr(2));
        f.payload = std::move(u.data);
        if (!u.clean && f.error.empty()) f.error = "bad escape";
    } else {
        f.payload = Bytes(body.substr(2));
    }
    out.push_back(std::move(f));
}

}  // namespace sim
