#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "display/DisplayOptions.h"
#include "wire/Bytes.h"

namespace sim {

// One frame of the demo script and what the emulator should make of it.
struct ScriptFrame {
    enum class Crc { None, Start, Check };
    Bytes wire;                   // empty for Check: the session fills in the CRC
    std::string name;             // for the log
    Crc crc = Crc::None;
    bool good = true;             // the emulator reads a correct end marker
    std::vector<uint8_t> replies; // what an emulator in master mode answers
    bool stallTarget = false;     // the stall fault pauses in its middle
};

// The screens the simulated controller shows on a display link: every kind of frame, object
// and control request once, the CRC handshake around the definitions, and the faults asked
// for. The remote display and the operator panel get the same screen on display 0.
class DemoScreens {
public:
    // Object ids the session updates when keys come.
    static constexpr uint16_t kWindow = 1;
    static constexpr uint16_t kTotalObject = 3;
    static constexpr uint16_t kBarObject = 8;
    static constexpr uint16_t kKeyObject = 15;
    static constexpr uint32_t kFirstTotal = 1234;

    static std::vector<ScriptFrame> Script(const DisplayOptions& options, bool panel);
    static constexpr uint16_t kArmTextObject = 2;
    static constexpr uint16_t kArmNumberObject = 5;

    // The updates that show a key: its name, and the total and bar moved on by `keys`.
    static std::vector<Bytes> KeyUpdates(uint8_t code, int keys);
    // The operator panel's display turned to another arm: its number, and its total after its
    // own `keys`.
    static std::vector<Bytes> ArmUpdates(int arm, int keys);
    static Bytes BarValues(double fullScale, double zero, double current);
};

}  // namespace sim
