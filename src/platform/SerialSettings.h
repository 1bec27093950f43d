#pragma once
#include <cstdint>

namespace qs {

// The settings of a serial port: speed, data bits, parity and stop bits, in the codes the
// profile file and the dialogs use (parity 0-4 = none, odd, even, mark, space; stop bits 0 =
// one, 1 = one and a half, 2 = two).
enum : uint8_t { NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4 };
enum : uint8_t { ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2 };

struct SerialSettings {
    uint32_t baudRate = 38400;
    uint8_t byteSize = 8;
    uint8_t parity = NOPARITY;
    uint8_t stopBits = ONESTOPBIT;

    friend bool operator==(const SerialSettings&, const SerialSettings&) = default;
};

}  // namespace qs
