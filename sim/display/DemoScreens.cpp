#include "display/DemoScreens.h"

#include <bit>
#include <limits>

#include "display/DisplayFrames.h"

namespace sim {
namespace {

using F = DisplayFrames;

constexpr uint8_t kAck = 0x06, kResetBegin = 0xF0, kResetDone = 0xFB, kHandshakeDone = 0xF1;
constexpr uint8_t kClearAndRedraw = 0x90;

ScriptFrame Frame(Bytes wire, std::string name, std::vector<uint8_t> replies = {}) {
    ScriptFrame f;
    f.wire = std::move(wire);
    f.name = std::move(name);
    f.replies = std::move(replies);
    return f;
}

ScriptFrame Text(uint16_t id, uint8_t type, uint16_t x, uint16_t y, uint8_t font, const std::string& format,
                 const Bytes& payload, uint8_t colours = 0x03) {
    return Frame(F::Define(DemoScreens::kWindow, kClearAndRedraw, 0, F::TextRecord(id, type, x, y, colours, font, format),
                           payload),
                 "define " + std::to_string(id));
}

ScriptFrame Graphic(uint16_t id, uint8_t type, uint16_t x, uint16_t y, uint16_t x2, uint16_t y2, uint8_t colour,
                    const Bytes& payload) {
    return Frame(F::Define(DemoScreens::kWindow, kClearAndRedraw, 0, F::GraphicRecord(id, type, x, y, x2, y2, colour),
                           payload),
                 "define " + std::to_string(id));
}

Bytes Icon() {
    Bytes pixels;
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) pixels.push_back(static_cast<char>((r == 0 || r == 7 || c == 0 || c == 7) ? 3 : (r + c) % 3));
    }
    return pixels;
}

void AddHostile(std::vector<ScriptFrame>& s) {
    const char* formats[] = {"%n", "%*d", "%s", "%999d", "%d%d", "%p", "%", "%-+ #0d"};
    uint16_t id = 50;
    for (const char* format : formats) s.push_back(Text(id++, 0x03, 4, 50, 0, format, F::BigEndian(7, 4)));
    s.push_back(Text(id++, 0x00, 4, 50, 99, "%s", "no such font"));
    s.push_back(Text(id++, 0x00, 65535, 65535, 4, "%s", "far away"));
    s.push_back(Text(id++, 0x00, 0, 63, 0, "%s", Bytes(1024, 'W')));
    s.push_back(Text(id++, 0x00, 4, 12, 19, "%s", "\xB0\xA1\xA0\xA1\xFE\xFE\xB0"));
    s.push_back(Text(id++, 0x05, 4, 50, 0, "%f", "\x01\x02"));  // shorter than a double
    s.push_back(Text(id++, 0x02, 4, 50, 0, "%d", "\x01\x02", 0xFF));
    s.push_back(Graphic(id++, 0xC0, 200, 40, 200, 200, 3, Bytes(10, '\x01')));
    s.push_back(Graphic(id++, 0x84, 10, 10, 60, 20, 0x23, "\x01\x02\x03"));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    s.push_back(Graphic(id++, 0x84, 10, 10, 60, 20, 0x23, DemoScreens::BarValues(nan, nan, nan)));
    s.push_back(Graphic(id++, 0xC1, 0, 0, 1, 65535, 3, ""));
    s.push_back(Graphic(id++, 0xC6, 65535, 65535, 0, 0, 0xFF, ""));
}

}  // namespace

Bytes DemoScreens::BarValues(double fullScale, double zero, double current) {
    return F::LittleEndianDouble(fullScale) + F::LittleEndianDouble(zero) + F::LittleEndianDouble(current);
}

std::vector<ScriptFrame> DemoScreens::Script(const DisplayOptions& options, bool panel) {
    std::vector<ScriptFrame> s;
    s.push_back(Frame(F::Control('R', 0), "reset", {kResetBegin, kResetDone}));
    ScriptFrame start = Frame(F::Control(0x00, 0), "crc start", {kAck});
    start.crc = ScriptFrame::Crc::Start;
    s.push_back(start);

    s.push_back(Text(1, 0x40, 4, 28, 2, "%s", "DURAVANE III"));
    s.back().stallTarget = true;
    s.back().good = options.stallMs < 3000;
    s.push_back(Text(kArmTextObject, 0x00, 4, 40, 0, "%s", "Bay A  Arm 1  ULSD"));
    s.push_back(Text(kTotalObject, 0x03, 4, 52, 0, "%7ld L", F::BigEndian(kFirstTotal, 4)));
    s.push_back(Text(4, 0x05, 120, 52, 0, "%6.1f C", F::BigEndian(std::bit_cast<uint64_t>(15.5), 8)));
    s.push_back(Text(kArmNumberObject, 0x01, 180, 40, 0, "Arm %d", "\x01"));
    s.push_back(Text(6, 0x02, 200, 12, 3, "%04X", F::BigEndian(0x00FF, 2)));
    s.push_back(Text(7, 0x04, 196, 62, 0, "%.2f", F::BigEndian(std::bit_cast<uint32_t>(0.75f), 4)));
    s.push_back(Graphic(kBarObject, 0x84, 130, 30, 236, 38, 0x23, BarValues(100, 0, 40)));
    s.push_back(Graphic(9, 0xC2, 0, 0, 239, 63, 3, ""));
    s.push_back(Graphic(10, 0xC6, 124, 56, 110, 62, 0x13, ""));
    s.push_back(Graphic(11, 0xC1, 4, 30, 120, 30, 3, ""));
    s.push_back(Graphic(12, 0xC0, 226, 42, 8, 8, 0, Icon()));
    s.push_back(Graphic(13, 0xC3, 214, 42, 8, 8, 0, Icon()));
    s.push_back(Graphic(14, 0xE0, 0, 0, 10, 10, 3, "region"));
    s.push_back(Text(kKeyObject, 0x00, 4, 62, 0, "%s", "Key: -"));
    if (!panel) s.push_back(Text(16, 0x00, 150, 40, 18, "%s", "GB \xB0\xA1\xB0\xA2"));

    if (options.oversize) {
        s.push_back(Text(40, 0x00, 4, 50, 0, "%s", Bytes(1025, 'x')));
        s.back().good = false;
    }
    if (options.badEnd) {
        s.push_back(Frame(F::Define(kWindow, kClearAndRedraw, 0, F::TextRecord(41, 0, 4, 50, 3, 0, "%s"), "lost",
                                    Bytes("\x03\x7F\x00", 3)),
                          "define 41 (bad end)"));
        s.back().good = false;
    }
    if (options.hostile) AddHostile(s);

    ScriptFrame check = Frame({}, "crc check", options.badCrc ? std::vector<uint8_t>{} : std::vector<uint8_t>{kAck});
    check.crc = ScriptFrame::Crc::Check;
    s.push_back(check);
    s.push_back(Frame(F::Control('S', 0, Bytes(4, '\0')), "handshake S", {kAck, kHandshakeDone}));
    s.push_back(Frame(F::Control('T', 0, Bytes(1, '\0')), "handshake T", {kAck, kHandshakeDone}));
    s.push_back(Frame(F::Control('U', 0, Bytes(1, '\0')), "active display 0", {kAck}));

    // A second window comes and goes: select, delete the window, then its object.
    s.push_back(Frame(F::Define(2, 0x10, 0x04, F::TextRecord(20, 0, 4, 20, 3, 0, "%s"), "temporary"), "define 20"));
    s.push_back(Frame(F::Select(kWindow, kClearAndRedraw, 0), "select 1"));
    s.push_back(Frame(F::Delete(2, 0, 0), "delete window 2"));
    s.push_back(Frame(F::Delete(20, 1, 0), "delete object 20"));
    s.push_back(Frame(F::Update(kBarObject, 0x23, 0, BarValues(100, 0, 55)), "update 8"));
    return s;
}

std::vector<Bytes> DemoScreens::ArmUpdates(int arm, int keys) {
    return {
        F::Update(kArmTextObject, 0x03, 0, "Bay A  Arm " + std::to_string(arm) + "  ULSD"),
        F::Update(kArmNumberObject, 0x03, 0, Bytes(1, static_cast<char>(arm))),
        F::Update(kTotalObject, 0x03, 0, F::BigEndian(kFirstTotal + static_cast<uint32_t>(keys), 4)),
        F::Update(kBarObject, 0x23, 0, BarValues(100, 0, (keys * 10) % 101)),
    };
}

std::vector<Bytes> DemoScreens::KeyUpdates(uint8_t code, int keys) {
    std::string name = "Key: ";
    if (code >= 0x20 && code < 0x7F) {
        name.push_back(static_cast<char>(code));
    } else {
        static const char digits[] = "0123456789ABCDEF";
        name += "0x";
        name.push_back(digits[code >> 4]);
        name.push_back(digits[code & 0x0F]);
    }
    return {
        F::Update(kKeyObject, 0x03, 0, name),
        F::Update(kTotalObject, 0x03, 0, F::BigEndian(kFirstTotal + static_cast<uint32_t>(keys), 4)),
        F::Update(kBarObject, 0x23, 0, BarValues(100, 0, (keys * 10) % 101)),
    };
}

}  // namespace sim
