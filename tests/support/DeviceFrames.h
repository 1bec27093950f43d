#pragma once
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

// What a device puts on the line, built here by hand (not by the product's own framing code)
// so tests compare the product against an independent reading of the wire format.
namespace qs::test {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

inline std::string Hex(const std::string& bytes) {
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, "%02X ", c);
        out += b;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

inline std::string AddressDigits(int address) {
    char d[16];
    std::snprintf(d, sizeof d, "%02d", address % 100);
    return d;
}

// "*", two address digits, the text, CR LF.
inline std::string TerminalReply(int address, const std::string& text) {
    return "*" + AddressDigits(address) + text + "\r\n";
}

inline uint8_t XorOf(const std::string& bytes) {
    uint8_t x = 0;
    for (unsigned char c : bytes) x ^= c;
    return x;
}

// STX, two address digits, `body` (already escaped when it is a block), ETX, LRC (plus
// `lrcDelta`, to spoil it), pad.
inline std::string MiniReply(int address, const std::string& body, int lrcDelta = 0) {
    const std::string checked = AddressDigits(address) + body + "\x03";
    return "\x02" + checked + static_cast<char>(XorOf(checked) + lrcDelta) + '\x7F';
}

inline std::string EscapeForWire(const std::vector<uint8_t>& data) {
    std::string out;
    for (uint8_t b : data) {
        if (b == 0x02) out += "\x1BS";
        else if (b == 0x03) out += "\x1B" "E";
        else if (b == 0x7F) out += "\x1BP";
        else if (b == 0x1B) out += "\x1B\x1B";
        else out += static_cast<char>(b);
    }
    return out;
}

// A binary reply: the five-byte request head ("SV " and the transfer code), the big-endian
// status word, then `data`, escaped and framed.
inline std::string BinaryReply(int address, uint16_t transferCode, uint16_t statusWord,
                               const std::vector<uint8_t>& data = {}) {
    std::vector<uint8_t> raw = {'S', 'V', ' ', static_cast<uint8_t>(transferCode >> 8),
                                static_cast<uint8_t>(transferCode & 0xFF), static_cast<uint8_t>(statusWord >> 8),
                                static_cast<uint8_t>(statusWord & 0xFF)};
    raw.insert(raw.end(), data.begin(), data.end());
    return MiniReply(address, EscapeForWire(raw));
}

}  // namespace qs::test
