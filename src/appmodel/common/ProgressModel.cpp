#include "appmodel/common/ProgressModel.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace qs {

namespace {

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

// Whole-text check: a text that is not UTF-8 is single-byte code-page text, where any byte
// is a character of its own.
bool IsValidUtf8(const std::string& s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t len;
        uint32_t cp;
        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { len = 2; cp = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { len = 3; cp = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { len = 4; cp = c & 0x07; }
        else return false;
        if (n - i < len) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

}  // namespace

ProgressModel::ProgressModel(std::string title)
    : title_(title.empty() ? std::string("Progress") : std::move(title)), caption_(title_) {}

void ProgressModel::SetRange(int lower, int upper, int step) {
    lower_ = lower;
    upper_ = upper;
    step_ = step;
}

int ProgressModel::PercentOf(int pos, int lower, int upper) {
    if (upper <= lower) return 0;
    const int64_t done = static_cast<int64_t>(pos) - lower;
    const int64_t span = static_cast<int64_t>(upper) - lower;
    return static_cast<int>(std::clamp<int64_t>(done * 100 / span, 0, 100));
}

ProgressModel::Move ProgressModel::SetPos(int pos) {
    Move m;
    m.previous = position_;
    position_ = pos;
    const int percent = PercentOf(pos, lower_, upper_);
    if (percent != lastPercent_) {
        lastPercent_ = percent;
        caption_ = title_ + " [" + std::to_string(percent) + "%]";
        m.captionChanged = true;
    }
    return m;
}

ProgressModel::Move ProgressModel::OffsetPos(int n) {
    return SetPos(ClampToInt(static_cast<int64_t>(position_) + n));
}

ProgressModel::Move ProgressModel::StepIt() { return OffsetPos(step_); }

int ProgressModel::BarRange() const {
    const int64_t span = static_cast<int64_t>(upper_) - lower_;
    if (span <= 0) return 1;
    return static_cast<int>(std::min<int64_t>(span, kBarScale));
}

int ProgressModel::BarValue() const {
    const int64_t span = static_cast<int64_t>(upper_) - lower_;
    if (span <= 0) return 0;
    const int64_t done = std::clamp<int64_t>(static_cast<int64_t>(position_) - lower_, 0, span);
    // span < 2^32 and BarRange() <= 100000, so the product stays far inside 64 bits.
    return static_cast<int>(done * BarRange() / span);
}

std::string ProgressModel::CutText(const std::string& text) {
    std::string s = text.substr(0, text.find('\0'));
    if (s.size() <= kMaxTextBytes) return s;
    std::size_t cut = kMaxTextBytes;
    if (IsValidUtf8(s)) {
        while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
    }
    s.resize(cut);
    return s;
}

const std::string& ProgressModel::SetText(const std::string& text) {
    text_ = CutText(text);
    return text_;
}

}  // namespace qs
