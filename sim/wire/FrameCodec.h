#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "wire/Bytes.h"

namespace sim {

// The two framings of the command port.
//   Terminal:     "*" + two address digits + text + CR LF
//   Minicomputer: STX + two address digits + text or escaped block + ETX, then on the lines
//                 that carry it the LRC (XOR of every byte after STX through ETX) and padding.
enum class Framing { None, Terminal, Mini };

struct UnescapeResult {
    Bytes data;
    bool clean = true;  // false: an ESC followed by an unknown byte, or a lone ESC at the end
};

class FrameCodec {
public:
    static constexpr char kStx = 0x02;
    static constexpr char kEtx = 0x03;
    static constexpr char kEsc = 0x1B;
    static constexpr char kDel = 0x7F;
    static constexpr char kCr = '\r';
    static constexpr char kLf = '\n';
    static constexpr char kStar = '*';

    static uint8_t Lrc(std::string_view data);

    // Block escaping: 0x02 -> ESC 'S', 0x03 -> ESC 'E', 0x7F -> ESC 'P', ESC -> ESC ESC, so an
    // escaped block never holds a start, end or pad byte.
    static Bytes Escape(std::string_view data);
    static UnescapeResult Unescape(std::string_view data);

    // Two decimal digits; addresses outside 0-99 are the caller's fault and are clamped.
    static std::string AddressDigits(int address);

    // A text reply in Terminal framing; withCr false leaves out the CR (a fault to inject).
    static Bytes TerminalFrame(int address, std::string_view text, bool withCr = true);

    // A Minicomputer frame around `payload` (escaped first when `binary`), with the LRC and
    // `pad` after ETX when `trailer` is set. corruptLrc sends the complement of the right LRC.
    static Bytes MiniFrame(int address, std::string_view payload, bool binary, bool trailer, char pad,
                           bool corruptLrc = false);

    // The frames the program sends: on serial a Minicomputer text frame ends in LRC, 0x7F, 0x00;
    // a block carries those three bytes on every link.
    static Bytes MiniRequest(int address, std::string_view payload, bool binary, bool serial);
};

}  // namespace sim
