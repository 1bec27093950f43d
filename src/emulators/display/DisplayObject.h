#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qs::display {

// One object of the display list: a text, number or graphic that windows refer to by id.
struct DisplayObject {
    // type
    static constexpr uint8_t kGraphic = 0x80;
    static constexpr uint8_t kOnlyWhenChanged = 0x40;
    // flags
    static constexpr uint8_t kChanged = 0x80;
    static constexpr uint8_t kFromDevice = 0x40;
    static constexpr uint8_t kDeleted = 0x20;
    static constexpr uint8_t kReferenceMask = 0x1F;
    static constexpr int kMaxReferences = 31;

    uint16_t id = 0;
    uint8_t type = 0;
    uint8_t flags = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    // text and numbers
    uint8_t colours = 0;  // foreground bits 0-3, background bits 4-6
    uint8_t font = 0;
    std::array<char, 21> format{};
    // graphics
    uint16_t x2 = 0;
    uint16_t y2 = 0;
    uint8_t aux = 0;
    uint8_t depth = 0;
    uint8_t colour = 0;
    std::array<uint32_t, 4> values{};

    // The payload as sent (numbers reversed) and its closing 0; empty until one is attached.
    std::vector<uint8_t> payload;
    size_t payloadCharge = 0;
    size_t recordCharge = 0;

    bool IsGraphic() const { return (type & kGraphic) != 0; }
    uint8_t Kind() const { return type & 0x0F; }
    // A number stored in the machine's order: its bytes come reversed from the wire.
    static bool IsNumeric(uint8_t type) { return !(type & kGraphic) && (type & 0x0F) > 1; }
    bool HasPayload() const { return !payload.empty(); }
    int References() const { return flags & kReferenceMask; }
    bool Deleted() const { return (flags & kDeleted) != 0; }
    void MarkChanged() { flags |= kChanged; }
};

}  // namespace qs::display
