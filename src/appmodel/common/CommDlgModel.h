#pragma once
#include <array>
#include <string>

#include "platform/SerialSettings.h"

namespace qs {

// What the serial settings dialog shows and how its two list choices map onto a port's
// settings. The dialog offers the seven rates and seven character formats the device knows;
// settings outside them are shown as the nearest row the rules below give.
class CommDlgModel {
public:
    static constexpr int kBaudCount = 7;  // SerialPort's baud table
    static constexpr int kFormatCount = 7;

    static const std::array<const char*, kBaudCount>& BaudTexts();      // "600" ... "38400"
    static const std::array<const char*, kFormatCount>& FormatTexts();  // "7 Bits None" ...

    // "Settings for <port name>".
    static std::string Caption(const std::string& portName);

    // 600 -> 0 ... 19200 -> 5; any other rate shows as 38400 (6).
    static int BaudIndex(uint32_t baudRate);
    // 7-bit rows unless 8 data bits; odd and even parity pick their row, mark and space show as
    // none; 8 bits without parity and two stop bits is the last row.
    static int FormatIndex(const SerialSettings& settings);

    // Writes the chosen rows into the settings; the rows not chosen (an index outside the lists)
    // leave the settings untouched and give false.
    static bool Apply(int baudIndex, int formatIndex, SerialSettings& settings);
};

}  // namespace qs
