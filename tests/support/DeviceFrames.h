#pragma once
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "LinkKind.h"

// What goes on the line between the program and a device, built and read here by hand (not by
// the product's own framing code) so tests compare the product against an independent reading
// of the wire format.
namespace qs::test {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

inline std::string Hex(std::string_view bytes) {
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, "%02X ", c);
        out += b;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

inline std::string Text(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }
inline std::vector<uint8_t> Vec(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

inline std::string U16Be(uint32_t v) { return Bytes({static_cast<int>(v >> 8 & 0xFF), static_cast<int>(v & 0xFF)}); }
inline std::string U32Be(uint32_t v) { return U16Be(v >> 16) + U16Be(v & 0xFFFF); }

inline uint32_t U32From(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (size_t i = at; i < at + 4 && i < s.size(); ++i) v = v << 8 | static_cast<unsigned char>(s[i]);
    return v;
}

// The CRC-32 bit by bit, without a table.
inline uint32_t BitwiseCrc32(const std::string& data) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : data) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    }
    return ~c;
}

// `data` with four bytes appended that give the whole the CRC-32 `target` (the register is
// run back over them, bit by bit).
inline std::string WithCrc32(std::string data, uint32_t target) {
    const uint32_t after = ~BitwiseCrc32(data);
    uint32_t r = ~target;
    for (int k = 0; k < 32; ++k) r = (r & 0x80000000u) ? ((r ^ 0xEDB88320u) << 1) | 1u : r << 1;
    const uint32_t tail = r ^ after;
    for (int i = 0; i < 4; ++i) data += static_cast<char>(tail >> (8 * i) & 0xFF);
    return data;
}

inline std::string AddressDigits(int address) {
    char d[16];
    std::snprintf(d, sizeof d, "%02d", (address % 100 + 100) % 100);
    return d;
}

inline uint8_t XorOf(std::string_view bytes) {
    uint8_t x = 0;
    for (unsigned char c : bytes) x ^= c;
    return x;
}

inline std::string EscapeForWire(std::string_view data) {
    std::string out;
    for (char c : data) {
        if (c == '\x02') out += "\x1BS";
        else if (c == '\x03') out += "\x1B" "E";
        else if (c == '\x7F') out += "\x1BP";
        else if (c == '\x1B') out += "\x1B\x1B";
        else out += c;
    }
    return out;
}
inline std::string EscapeForWire(const std::vector<uint8_t>& data) { return EscapeForWire(Text(data)); }

inline std::string UnescapeWire(std::string_view escaped) {
    std::string out;
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '\x1B') {
            out += escaped[i];
            continue;
        }
        const char n = i + 1 < escaped.size() ? escaped[++i] : '\0';
        out += n == 'S' ? '\x02' : n == 'E' ? '\x03' : n == 'P' ? '\x7F' : n == '\x1B' ? '\x1B' : '\0';
    }
    return out;
}

// "*", two address digits, the text, CR LF: a Terminal command or reply.
inline std::string TerminalReply(int address, std::string_view text) {
    return "*" + AddressDigits(address) + std::string(text) + "\r\n";
}

// STX, two address digits, `body` (already escaped when it is a block), ETX, LRC (plus
// `lrcDelta`, to spoil it), then `pad`: a Minicomputer reply (the device pads with 0x7F or 0x00).
inline std::string MiniReply(int address, std::string_view body, int lrcDelta = 0, char pad = '\x7F') {
    const std::string checked = AddressDigits(address) + std::string(body) + "\x03";
    return "\x02" + checked + static_cast<char>(XorOf(checked) + lrcDelta) + pad;
}

// A binary reply: the five-byte request head ("SV " and the transfer code), the big-endian
// status word, then `data`, escaped and framed.
inline std::string BinaryReply(int address, uint16_t transferCode, uint16_t statusWord,
                               const std::vector<uint8_t>& data = {}) {
    return MiniReply(address, EscapeForWire("SV " + U16Be(transferCode) + U16Be(statusWord) + Text(data)));
}

// What the program puts on the line for `command`: "*" NN command CR LF, or STX NN command ETX
// followed on a serial line by the LRC, 0x7F, 0x00.
inline std::string RequestBytes(Framing framing, Transport transport, int address, std::string_view command) {
    if (framing == Framing::Terminal) return TerminalReply(address, command);
    if (transport == Transport::Tcp) return "\x02" + AddressDigits(address) + std::string(command) + "\x03";
    return MiniReply(address, command) + '\0';
}
// A binary block request (`data` unescaped): STX NN escaped data ETX LRC 0x7F 0x00 on every link.
inline std::string BlockRequestBytes(int address, std::string_view data) {
    return MiniReply(address, EscapeForWire(data)) + '\0';
}
inline std::string BlockRequestBytes(int address, const std::vector<uint8_t>& data) {
    return BlockRequestBytes(address, Text(data));
}
// What the simulator answers with `text`: "*" NN text CR LF, or STX NN text ETX LRC 0x00.
inline std::string SimReplyBytes(Framing framing, int address, std::string_view text) {
    if (framing == Framing::Terminal) return TerminalReply(address, text);
    return MiniReply(address, text, 0, '\0');
}
// A binary reply of the simulator (`block` unescaped): STX NN escaped block ETX LRC 0x00.
inline std::string SimBlockReplyBytes(int address, std::string_view block) {
    return MiniReply(address, EscapeForWire(block), 0, '\0');
}

inline std::string SimBlockReplyBytes(int address, const std::vector<uint8_t>& block) {
    return SimBlockReplyBytes(address, Text(block));
}

// "SV ", a transfer code and a block number: the request for one block of a data set.
inline std::string ReadRequestBytes(uint16_t code, uint16_t block) { return "SV " + U16Be(code) + U16Be(block); }

// One frame the program wrote: its address, its text (unescaped when it is a block), whether
// it is a Minicomputer frame, a block ("SV " ...), and whether it was whole (a Minicomputer
// frame with a trailer needs the right LRC, 0x7F and 0x00).
struct WrittenFrame {
    int address = -1;
    std::string data;
    bool mini = false;
    bool block = false;
    bool wellFormed = false;
};

// Every frame in what was written to a line, in order.
inline std::vector<WrittenFrame> FramesIn(const std::string& written) {
    std::vector<WrittenFrame> frames;
    auto digits = [&](size_t at) {
        const bool ok = at + 2 <= written.size() && std::isdigit(static_cast<unsigned char>(written[at])) &&
                        std::isdigit(static_cast<unsigned char>(written[at + 1]));
        return ok ? (written[at] - '0') * 10 + (written[at + 1] - '0') : -1;
    };
    for (size_t i = 0; i < written.size();) {
        if (written[i] == '*') {
            const size_t end = written.find("\r\n", i);
            if (end == std::string::npos || end < i + 3) break;
            frames.push_back({digits(i + 1), written.substr(i + 3, end - i - 3), false, false, true});
            i = end + 2;
        } else if (written[i] == '\x02') {
            const size_t etx = written.find('\x03', i);
            if (etx == std::string::npos || etx < i + 3) break;
            WrittenFrame f{digits(i + 1), UnescapeWire(std::string_view(written).substr(i + 3, etx - i - 3)), true};
            f.block = f.data.starts_with("SV ");
            const std::string checked = written.substr(i + 1, etx - i);  // digits .. ETX
            const bool trailer = etx + 3 < written.size() && static_cast<uint8_t>(written[etx + 1]) == XorOf(checked) &&
                                 written[etx + 2] == '\x7F' && written[etx + 3] == '\0';
            f.wellFormed = trailer;
            frames.push_back(f);
            // The LRC after ETX may itself be 0x02 or '*': a whole frame is skipped with its trailer.
            i = trailer ? etx + 4 : etx + 1;
        } else {
            ++i;
        }
    }
    return frames;
}

// The block requests alone.
inline std::vector<WrittenFrame> SentBlocks(const std::string& written) {
    std::vector<WrittenFrame> blocks;
    for (WrittenFrame& f : FramesIn(written))
        if (f.mini) blocks.push_back(std::move(f));
    return blocks;
}

}  // namespace qs::test
