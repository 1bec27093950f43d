#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "emulators/display/DisplayLink.h"

namespace qs::panelsim {

// What Panelsim knows of its arms, by their places in the polling list: which need attention
// (counted in every key frame, and listed first on the status lines), the F1 lock of the
// current arm, an arm's request to become the current one, and which arms the five status
// lines show with their texts.
//
// Status flags of an arm: bit 0 attention, bit 1 F1 lock, bit 2 request to become current.
class ArmStatusLines {
public:
    static constexpr size_t kSlots = 5;
    static constexpr size_t kTextSize = 30;  // 29 characters and a closing 0
    static constexpr uint8_t kNone = 255;
    static constexpr uint8_t kAttention = 0x01, kF1Lock = 0x02, kRequest = 0x04;

    ArmStatusLines();

    // A new polling list: the address table becomes its inverse (the first place of an address
    // that is listed twice), and what was known by place is forgotten.
    void SetArms(const std::vector<uint8_t>& arms);
    // The arm at `index` was polled under `address`.
    void RecordPoll(uint8_t address, size_t index);

    // A status record from the device (frames 0x15 and 0x16). An address that is no arm's is
    // ignored. True when a status text changed.
    bool Apply(const display::ArmStatus& status, size_t current);
    // The arm that asked to become current, once.
    std::optional<size_t> TakeRequest();

    // Fills the five slots: the arms needing attention other than the current one, in list
    // order, then the others from the one after the current arm onwards; then sorts them by
    // their distance after the current arm, empty slots last.
    void ComputeSlots(size_t current, size_t count);
    // Every status text emptied.
    void ClearTexts();

    bool F1Locked() const { return f1Lock_; }
    uint32_t AttentionMask() const { return mask_; }
    int AttentionCount() const { return count_; }
    const std::array<uint8_t, kSlots>& Slots() const { return slots_; }
    std::string Text(size_t slot) const { return texts_.at(slot).data(); }
    // The index an address was last polled under, or kNone.
    uint8_t IndexOf(uint8_t address) const { return table_[address]; }

private:
    std::array<uint8_t, 256> table_{};
    uint32_t mask_ = 0;
    int count_ = 0;
    bool f1Lock_ = false;
    std::optional<size_t> requested_;
    std::array<uint8_t, kSlots> slots_{};
    std::array<std::array<char, kTextSize>, kSlots> texts_{};
};

}  // namespace qs::panelsim
