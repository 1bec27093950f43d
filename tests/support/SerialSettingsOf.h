#pragma once
// Serial settings written out field by field, so a test's expected value reads as a line of
// the settings text ("38400,N,8,1").
#include <cstdint>

#include "platform/SerialSettings.h"

namespace qs::test {

inline SerialSettings SerialSettingsOf(uint32_t baud, uint8_t bits, uint8_t parity, uint8_t stop) {
    SerialSettings s;
    s.baudRate = baud;
    s.byteSize = bits;
    s.parity = parity;
    s.stopBits = stop;
    return s;
}

}  // namespace qs::test
