#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// How the display port behaves: whether replies to the control frames are expected, and the
// faults injected into what it sends.
struct DisplayOptions {
    bool handover = false;     // a pty speaks the display protocol after the "SV " hand-over
    bool master = false;       // expect replies on every display link (a pty hand-over always does)
    size_t splitBytes = 0;     // write each frame in pieces of this many bytes, kPieceGapMs apart
    int64_t stallMs = 0;       // pause this long in the middle of the first object definition
    bool oversize = false;     // one definition with a 1025-byte payload
    bool badEnd = false;       // one definition with a wrong end marker
    bool badCrc = false;       // the CRC check carries a wrong CRC
    bool hostile = false;      // objects with formats, fonts and places no device should send
    std::map<int, uint8_t> armFlags;  // the status flags each arm reports to the operator panel

    static constexpr int64_t kPieceGapMs = 20;

    // Applies one --display-fault value; returns "" or what is wrong with it.
    std::string AddFault(std::string_view text);
    // Applies one --arm-flags value ("ADDR=HH"); returns "" or what is wrong with it.
    std::string AddArmFlags(std::string_view text);
    static std::string Help();
};

}  // namespace sim
