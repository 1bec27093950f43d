#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qs::display {

// One window of one display: flags and the ids of the objects it shows, in attachment order.
struct DisplayListWindow {
    static constexpr uint8_t kRedrawAll = 0x80;
    static constexpr uint8_t kSticky = 0x40;
    static constexpr uint8_t kDeleted = 0x20;
    static constexpr uint8_t kClearFirst = 0x10;
    static constexpr uint8_t kClearColourMask = 0x03;
    static constexpr uint8_t kSplitScreen = 0x04;  // in the display byte

    uint16_t id = 0;
    uint8_t flags = 0;
    uint8_t displayByte = 0;
    std::vector<uint16_t> objects;
    size_t charge = 0;  // the record and its references

    bool Deleted() const { return (flags & kDeleted) != 0; }
};

}  // namespace qs::display
