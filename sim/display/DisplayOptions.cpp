#include "display/DisplayOptions.h"

#include "wire/NumberText.h"

namespace sim {

std::string DisplayOptions::AddFault(std::string_view text) {
    const size_t eq = text.find('=');
    const std::string_view name = text.substr(0, eq);
    const std::string value(eq == std::string_view::npos ? std::string_view() : text.substr(eq + 1));
    uint64_t n = 0;
    const bool hasValue = eq != std::string_view::npos;
    if (name == "split" || name == "stall") {
        if (!hasValue || !ParseUnsignedText(value, 10, 600000, n, 7) || n == 0) return "needs a number, e.g. split=3 or stall=1000";
        if (name == "split") splitBytes = n;
        else stallMs = static_cast<int64_t>(n);
        return "";
    }
    if (hasValue) return "takes no value";
    if (name == "oversize") oversize = true;
    else if (name == "bad-end") badEnd = true;
    else if (name == "bad-crc") badCrc = true;
    else if (name == "hostile") hostile = true;
    else return "unknown display fault (split=N, stall=MS, oversize, bad-end, bad-crc, hostile)";
    return "";
}

std::string DisplayOptions::AddArmFlags(std::string_view text) {
    const size_t eq = text.find('=');
    uint64_t address = 0, flags = 0;
    if (eq == std::string_view::npos || !ParseUnsignedText(text.substr(0, eq), 10, 99, address, 2) ||
        address == 0 || !ParseUnsignedText(text.substr(eq + 1), 16, 0xFF, flags, 2)) {
        return "ADDR=HH: an address 1-99 and the flags in hex, e.g. 2=01";
    }
    armFlags[static_cast<int>(address)] = static_cast<uint8_t>(flags);
    return "";
}

std::string DisplayOptions::Help() {
    return R"(  split=N               every frame written in pieces of N bytes, 20 ms apart
  stall=MS              a pause of MS ms in the middle of the first object definition (3000 or
                        more: the emulator gives that frame up)
  oversize              one definition with a 1025-byte payload (refused with error 252)
  bad-end               one definition ending 03 7F 00 (dropped)
  bad-crc               the CRC check carries a wrong CRC (error 255, no reply expected)
  hostile               objects with formats such as %n and %*d, unknown fonts, places far off the
                        screen, short payloads and broken double-byte text
)";
}

}  // namespace sim
