#include "emulators/display/KeyFrame.h"

#include <ctime>

#include "emulators/display/DisplayCrc.h"

namespace qs::display {

KeyFrame::Bytes KeyFrame::Build(uint8_t address, uint8_t code, uint32_t stamp, uint8_t flags) {
    Bytes f{0x02, 0x01, address, code, 0x00, 0x06,
            static_cast<uint8_t>(stamp >> 24), static_cast<uint8_t>(stamp >> 16),
            static_cast<uint8_t>(stamp >> 8), static_cast<uint8_t>(stamp), 0x00, flags};
    const uint32_t crc = DisplayCrc::Of(std::span<const uint8_t>(f.data(), 12));
    f[12] = static_cast<uint8_t>(crc >> 24);
    f[13] = static_cast<uint8_t>(crc >> 16);
    f[14] = static_cast<uint8_t>(crc >> 8);
    f[15] = static_cast<uint8_t>(crc);
    return f;
}

uint32_t KeyFrame::StampOf(int64_t epochSeconds) {
    const auto t = static_cast<time_t>(epochSeconds);
    tm local{};
    const long offset = localtime_r(&t, &local) ? local.tm_gmtoff : 0;
    return static_cast<uint32_t>(epochSeconds + offset + 86400);
}

}  // namespace qs::display
