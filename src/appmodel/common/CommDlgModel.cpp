#include "appmodel/common/CommDlgModel.h"

#include "link/SerialPort.h"

#include <cstdlib>

namespace qs {

const std::array<const char*, CommDlgModel::kBaudCount>& CommDlgModel::BaudTexts() {
    static const std::array<const char*, kBaudCount> texts = [] {
        std::array<const char*, kBaudCount> t{};
        for (int i = 0; i < kBaudCount; ++i) t[static_cast<size_t>(i)] = SerialPort::BaudText(i);
        return t;
    }();
    return texts;
}

const std::array<const char*, CommDlgModel::kFormatCount>& CommDlgModel::FormatTexts() {
    // Two rows end in a blank: the texts are shown exactly as they are.
    static const std::array<const char*, kFormatCount> texts = {
        "7 Bits None", "7 Bits Odd ", "7 Bits Even", "8 Bits None", "8 Bits Odd ", "8 Bits Even",
        "8 Bits None (2 stop bits)",
    };
    return texts;
}

std::string CommDlgModel::Caption(const std::string& portName) { return "Settings for " + portName; }

int CommDlgModel::BaudIndex(uint32_t baudRate) { return SerialPort::BaudIndexOf(baudRate); }

int CommDlgModel::FormatIndex(const SerialSettings& s) {
    int index = 0;
    if (s.byteSize == 8) index += 3;
    if (s.parity == ODDPARITY) index += 1;
    if (s.parity == EVENPARITY) index += 2;
    if (index == 3 && s.stopBits == TWOSTOPBITS) index = 6;
    return index;
}

bool CommDlgModel::Apply(int baudIndex, int formatIndex, SerialSettings& s) {
    if (baudIndex < 0 || baudIndex >= kBaudCount || formatIndex < 0 || formatIndex >= kFormatCount) return false;
    s.baudRate = static_cast<uint32_t>(std::strtoul(BaudTexts()[static_cast<size_t>(baudIndex)], nullptr, 10));
    s.byteSize = formatIndex <= 2 ? 7 : 8;
    if (formatIndex == 1 || formatIndex == 4)
        s.parity = ODDPARITY;
    else if (formatIndex == 2 || formatIndex == 5)
        s.parity = EVENPARITY;
    else
        s.parity = NOPARITY;
    s.stopBits = formatIndex == 6 ? TWOSTOPBITS : ONESTOPBIT;
    return true;
}

}  // namespace qs
