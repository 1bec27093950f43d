#include "display/DisplayFrames.h"

#include <bit>

namespace sim {

const Bytes DisplayFrames::kEnd("\x03\x7F\x7F", 3);

void DisplayFrames::PutLe16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

Bytes DisplayFrames::BigEndian(uint64_t v, int bytes) {
    Bytes out;
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

Bytes DisplayFrames::LittleEndianDouble(double d) {
    const auto v = std::bit_cast<uint64_t>(d);
    Bytes out;
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

Bytes DisplayFrames::Wrap(uint8_t command, const Bytes& body, const Bytes& end) {
    Bytes out("\x02\x02\x01", 3);
    out.push_back(static_cast<char>(command));
    return out + body + end;
}

namespace {

// What every object record opens with: id, type, flags (none) and place.
Bytes RecordHead(uint16_t id, uint8_t type, uint16_t x, uint16_t y) {
    Bytes out;
    DisplayFrames::PutLe16(out, id);
    out.push_back(static_cast<char>(type));
    out.push_back(0);
    DisplayFrames::PutLe16(out, x);
    DisplayFrames::PutLe16(out, y);
    return out;
}

}  // namespace

Bytes DisplayFrames::TextRecord(uint16_t id, uint8_t type, uint16_t x, uint16_t y, uint8_t colours, uint8_t font,
                                const std::string& format) {
    Bytes out = RecordHead(id, type, x, y);
    out.push_back(static_cast<char>(colours));
    out.push_back(static_cast<char>(font));
    Bytes field = format.substr(0, 21);
    field.resize(21, '\0');
    return out + field;
}

Bytes DisplayFrames::GraphicRecord(uint16_t id, uint8_t type, uint16_t x, uint16_t y, uint16_t x2, uint16_t y2,
                                   uint8_t colour, uint8_t depth) {
    Bytes out = RecordHead(id, type, x, y);
    PutLe16(out, x2);
    PutLe16(out, y2);
    out.push_back(0);
    out.push_back(static_cast<char>(depth));
    out.push_back(static_cast<char>(colour));
    out.append(16, '\0');
    return out;
}

Bytes DisplayFrames::Define(uint16_t window, uint8_t flags, uint8_t display, const Bytes& record, const Bytes& payload,
                            const Bytes& end) {
    Bytes body = Head(window, flags, display) + record;
    PutLe16(body, static_cast<uint16_t>(payload.size()));
    return Wrap(kDefine, body + payload, end);
}

Bytes DisplayFrames::Head(uint16_t id, uint8_t byte, uint8_t display) {
    Bytes head;
    PutLe16(head, id);
    head.push_back(static_cast<char>(byte));
    head.push_back(static_cast<char>(display));
    return head;
}

Bytes DisplayFrames::Update(uint16_t id, uint8_t value, uint8_t display, const Bytes& payload) {
    Bytes body = Head(id, value, display);
    PutLe16(body, static_cast<uint16_t>(payload.size()));
    return Wrap(kUpdate, body + payload);
}

Bytes DisplayFrames::Select(uint16_t window, uint8_t flags, uint8_t display) {
    return Wrap(kWindow, Head(window, flags, display));
}

Bytes DisplayFrames::Control(uint8_t sub, uint8_t display, const Bytes& data) {
    return Wrap(kWindow, Head(0, sub, display) + data);
}

Bytes DisplayFrames::Delete(uint16_t id, uint8_t kind, uint8_t display) { return Wrap(kDelete, Head(id, kind, display)); }

Bytes DisplayFrames::StatusLine(uint8_t arm, uint8_t flags, const std::string& text) {
    Bytes body;
    body.push_back(static_cast<char>(arm));
    body.push_back(static_cast<char>(flags));
    Bytes line = text.substr(0, 29);
    line.resize(29, ' ');
    return Wrap(kStatusLine, body + line);
}

Bytes DisplayFrames::PollReply(uint8_t arm, uint8_t flags) {
    Bytes body;
    body.push_back(static_cast<char>(arm));
    body.push_back(static_cast<char>(flags));
    body.append(8, '\0');
    return Wrap(kPollReply, body, {});
}

}  // namespace sim
