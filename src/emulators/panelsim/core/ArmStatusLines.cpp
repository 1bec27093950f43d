#include "emulators/panelsim/core/ArmStatusLines.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qs::panelsim {

ArmStatusLines::ArmStatusLines() {
    table_.fill(kNone);
    slots_.fill(kNone);
    for (size_t i = 0; i < kSlots; ++i) std::snprintf(texts_[i].data(), kTextSize, "Line %zu", i + 1);
}

void ArmStatusLines::SetArms(const std::vector<uint8_t>& arms) {
    table_.fill(kNone);
    for (size_t i = arms.size(); i-- > 0;) table_[arms[i]] = static_cast<uint8_t>(i);
    mask_ = 0;
    count_ = 0;
    f1Lock_ = false;
    requested_.reset();
    slots_.fill(kNone);
}

void ArmStatusLines::RecordPoll(uint8_t address, size_t index) {
    if (index < 32) table_[address] = static_cast<uint8_t>(index);
}

bool ArmStatusLines::Apply(const display::ArmStatus& status, size_t current) {
    const uint8_t index = table_[status.arm];
    if (index == kNone) return false;
    if (status.flags & kRequest) requested_ = index;
    if (index == current) f1Lock_ = (status.flags & kF1Lock) != 0;
    const uint32_t bit = 1u << index;
    if ((status.flags & kAttention) && !(mask_ & bit)) {
        mask_ |= bit;
        ++count_;
    } else if (!(status.flags & kAttention) && (mask_ & bit)) {
        mask_ &= ~bit;
        --count_;
    }
    if (!status.hasText) return false;
    bool changed = false;
    for (size_t k = 0; k < kSlots; ++k) {
        if (slots_[k] != index) continue;
        std::memcpy(texts_[k].data(), status.text.data(), kTextSize - 1);
        texts_[k][kTextSize - 1] = 0;
        changed = true;
    }
    return changed;
}

std::optional<size_t> ArmStatusLines::TakeRequest() {
    const std::optional<size_t> request = requested_;
    requested_.reset();
    return request;
}

void ArmStatusLines::ComputeSlots(size_t current, size_t count) {
    slots_.fill(kNone);
    size_t filled = 0;
    for (size_t i = 0; i < count && filled < kSlots; ++i) {
        if (i != current && (mask_ & (1u << i))) slots_[filled++] = static_cast<uint8_t>(i);
    }
    for (size_t step = 1; step < count && filled < kSlots; ++step) {
        const size_t i = (current + step) % count;
        if (!(mask_ & (1u << i))) slots_[filled++] = static_cast<uint8_t>(i);
    }
    const auto distance = [&](uint8_t i) { return i == kNone ? 2 * count + 1 : (i < current ? i + count : i); };
    std::sort(slots_.begin(), slots_.end(), [&](uint8_t a, uint8_t b) { return distance(a) < distance(b); });
}

void ArmStatusLines::ClearTexts() {
    for (auto& text : texts_) text.fill(0);
}

}  // namespace qs::panelsim
