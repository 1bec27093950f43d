#pragma once
// Device frames written out by hand from the wire rules, a byte source that serves them on a
// fake clock, a key sink that keeps what was sent, and framebuffers as text for goldens.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "RecordingUi.h"
#include "emulators/display/DisplayPort.h"
#include "emulators/display/Framebuffer.h"

namespace qs::display::test {

// Serves fed bytes; a read that finds none moves the clock to its deadline (the wait ran out).
class FakeSource final : public ByteSource {
public:
    explicit FakeSource(qs::test::FakeClock& clock) : clock_(clock) {}
    void Feed(const std::string& bytes) { data_ += bytes; }
    int ReadByte(int64_t deadlineMs) override {
        if (pos_ < data_.size()) return static_cast<uint8_t>(data_[pos_++]);
        if (deadlineMs > clock_.now) clock_.now = deadlineMs;
        return -1;
    }
    size_t Consumed() const { return pos_; }
    size_t Left() const { return data_.size() - pos_; }

private:
    qs::test::FakeClock& clock_;
    std::string data_;
    size_t pos_ = 0;
};

class RecordingSink final : public KeySink {
public:
    void Write(std::span<const uint8_t> frame) override {
        frames.emplace_back(frame.begin(), frame.end());
        if (onWrite) onWrite();
    }
    // The key code (byte 3) of each frame sent.
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const auto& f : frames) codes.push_back(f.size() > 3 ? f[3] : -1);
        return codes;
    }
    std::vector<std::vector<uint8_t>> frames;
    std::function<void()> onWrite;
};

inline std::string U16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
inline std::string U32(uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }
inline std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s.push_back(static_cast<char>(v));
    return s;
}

inline const std::string kEnd = Bytes({0x03, 0x7F, 0x7F});

inline std::string Frame(int command, const std::string& body, const std::string& end = kEnd) {
    return Bytes({0x02, 0x02, 0x01, command}) + body + end;
}

// The 31-byte object records.
inline std::string TextRecord(unsigned id, int type, int x, int y, int colours, int font, const std::string& format,
                              int flags = 0) {
    std::string f = format;
    f.resize(21, '\0');
    return U16(id) + Bytes({type, flags}) + U16(static_cast<unsigned>(x)) + U16(static_cast<unsigned>(y)) +
           Bytes({colours, font}) + f;
}
inline std::string GraphicRecord(unsigned id, int type, int x, int y, int x2, int y2, int colour, int depth = 8,
                                 int flags = 0) {
    return U16(id) + Bytes({type, flags}) + U16(static_cast<unsigned>(x)) + U16(static_cast<unsigned>(y)) +
           U16(static_cast<unsigned>(x2)) + U16(static_cast<unsigned>(y2)) + Bytes({0, depth, colour}) + U32(1) +
           U32(2) + U32(3) + U32(4);
}
inline std::string Payload(const std::string& bytes) { return U16(static_cast<unsigned>(bytes.size())) + bytes; }

inline std::string Define(unsigned window, int flags, int display, const std::string& record, const std::string& payload,
                          const std::string& end = kEnd) {
    return Frame(0x11, U16(window) + Bytes({flags, display}) + record + Payload(payload), end);
}
inline std::string Update(unsigned id, int value, int display, const std::string& payload, const std::string& end = kEnd) {
    return Frame(0x12, U16(id) + Bytes({value, display}) + Payload(payload), end);
}
inline std::string Select(unsigned window, int flags, int display, const std::string& end = kEnd) {
    return Frame(0x13, U16(window) + Bytes({flags, display}), end);
}
inline std::string Control(int sub, int display, const std::string& data = {}, const std::string& end = kEnd) {
    return Frame(0x13, U16(0) + Bytes({sub, display}) + data, end);
}
inline std::string Delete(unsigned id, int kind, int display, const std::string& end = kEnd) {
    return Frame(0x14, U16(id) + Bytes({kind, display}), end);
}
// A big-endian number as the device sends it.
inline std::string BigEndian(uint64_t v, int bytes) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}
inline std::string LittleEndianDouble(double d) {
    uint64_t v = 0;
    static_assert(sizeof v == sizeof d);
    __builtin_memcpy(&v, &d, sizeof v);
    std::string s;
    for (int i = 0; i < 8; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

// CRC-32 worked out bit by bit, apart from the product's table.
inline uint32_t BitwiseCrc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The pixels of a region, one text row per pixel row: '.' for colour 0, else the digit.
inline std::string Art(const Framebuffer& fb, int left, int top, int right, int bottom) {
    std::string out;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const int p = fb.Pixel(x, y);
            out.push_back(p == 0 ? '.' : static_cast<char>('0' + p));
        }
        out.push_back('\n');
    }
    return out;
}

// How many pixels of the framebuffer are not colour 0.
inline int Inked(const Framebuffer& fb) {
    int n = 0;
    for (uint8_t p : fb.Pixels()) n += p != 0;
    return n;
}

}  // namespace qs::display::test
