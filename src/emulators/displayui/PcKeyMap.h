#pragma once
#include <cstdint>
#include <optional>

namespace qs::displayui {

// The PC keys that stand for the device's keys: Backspace and Esc for Clear, Enter, the arrows
// for 4 2 6 8, Insert, Execute, + and - for Sign, the digits and the decimal point of both the
// main keyboard and the numeric pad, F1 F2 for F1 F2 (F2 only where the program maps it), and
// F5-F8 for Set, Print, Start, Stop.
class PcKeyMap {
public:
    // The key code for a wxWidgets key code; nullopt for keys that keep their usual meaning.
    static std::optional<uint8_t> CodeOf(int keyCode, bool withF2 = true);
};

}  // namespace qs::displayui
