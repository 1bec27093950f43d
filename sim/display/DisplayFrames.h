#pragma once
#include <cstdint>
#include <string>

#include "wire/Bytes.h"

namespace sim {

// The frames the device sends on its display port: 02 02, unit address 1, a command, the body
// and the end marker 03 7F 7F (the poll reply has none). Numbers in the bodies are
// little-endian; numeric payloads and the CRC of the check request are big-endian.
class DisplayFrames {
public:
    static constexpr uint8_t kDefine = 0x11, kUpdate = 0x12, kWindow = 0x13, kDelete = 0x14;
    static constexpr uint8_t kStatusLine = 0x15, kPollReply = 0x16;
    static const Bytes kEnd;

    static Bytes Wrap(uint8_t command, const Bytes& body, const Bytes& end = kEnd);

    // The 31-byte object records: text or number, and graphic.
    static Bytes TextRecord(uint16_t id, uint8_t type, uint16_t x, uint16_t y, uint8_t colours, uint8_t font,
                            const std::string& format);
    static Bytes GraphicRecord(uint16_t id, uint8_t type, uint16_t x, uint16_t y, uint16_t x2, uint16_t y2,
                               uint8_t colour, uint8_t depth = 8);

    static Bytes Define(uint16_t window, uint8_t flags, uint8_t display, const Bytes& record, const Bytes& payload,
                        const Bytes& end = kEnd);
    static Bytes Update(uint16_t id, uint8_t value, uint8_t display, const Bytes& payload);
    static Bytes Select(uint16_t window, uint8_t flags, uint8_t display);
    static Bytes Control(uint8_t sub, uint8_t display, const Bytes& data = {});
    static Bytes Delete(uint16_t id, uint8_t kind, uint8_t display);
    static Bytes StatusLine(uint8_t arm, uint8_t flags, const std::string& text);
    static Bytes PollReply(uint8_t arm, uint8_t flags);

    static void PutLe16(Bytes& out, uint16_t v);
    // The four bytes that open most bodies: a u16 id, one byte, the display byte.
    static Bytes Head(uint16_t id, uint8_t byte, uint8_t display);
    // A number's bytes most significant first, as numeric payloads go on the wire.
    static Bytes BigEndian(uint64_t v, int bytes);
    static Bytes LittleEndianDouble(double d);
};

}  // namespace sim
