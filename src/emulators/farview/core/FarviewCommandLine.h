#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs::farview {

// What the words of Farview's command line ask for. Each word is looked for anywhere in the
// text, case and all, and only its first occurrence counts: "MASTER" (answer the device's
// control frames and hand the line back at exit), "COM" and a decimal number (the port, 0 for
// TCP/IP), "ADDR" and up to eight hexadecimal digits (the device's IPv4 address, first octet in
// the high byte), "QUAD" (the four-display faceplate).
struct FarviewCommandLine {
    static constexpr size_t kMaxAddressDigits = 8;

    bool master = false;
    bool quad = false;
    std::optional<int> port;             // absent: the stored port stays
    std::optional<std::string> address;  // "%d.%d.%d.%d"; absent: the stored address stays
    std::vector<std::string> refused;    // words that were present but could not be read

    static FarviewCommandLine Parse(std::string_view text);
};

}  // namespace qs::farview
