#include "device/LogRecords.h"

#include <bit>
#include <string>

namespace sim {
namespace {

void PutF32(Bytes& out, float v) { PutU32(out, std::bit_cast<uint32_t>(v)); }

void PutF64(Bytes& out, double v) {
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    PutU32(out, static_cast<uint32_t>(bits >> 32));
    PutU32(out, static_cast<uint32_t>(bits & 0xFFFFFFFFu));
}

// A text in a field of `size` bytes, cut to leave room for its NUL.
void PutText(Bytes& out, const std::string& text, size_t size) {
    const std::string cut = text.substr(0, size - 1);
    out += cut;
    out.append(size - cut.size(), '\0');
}

void PadTo(Bytes& out, size_t size) {
    if (out.size() < size) out.append(size - out.size(), '\0');
}

// Floats whose big-endian bytes include every byte the block escape stands for.
constexpr uint32_t kEscapedFloat = 0x3F7F0203u;   // 3F 7F 02 03
constexpr uint64_t kEscapedDouble = 0x40931B7F02030000ull;  // 40 93 1B 7F 02 03 00 00

std::string Numbered(const char* lead, uint32_t n) { return lead + std::to_string(n); }

// A log entry: its text in a field of `textBytes`, the time stamp, the code.
Bytes Entry(const std::string& text, size_t textBytes, uint32_t sequence) {
    Bytes out;
    PutText(out, text, textBytes);
    out += LogRecords::TimeStamp(sequence);
    PutU16(out, static_cast<uint16_t>(sequence % 100));
    return out;
}

}  // namespace

Bytes LogRecords::TimeStamp(uint32_t n) {
    Bytes out;
    for (uint32_t v : {2024u, 1 + n % 12, 1 + n % 28, 0u, n % 60, (n * 7) % 60, (n * 5) % 24, 0u})
        PutU16(out, static_cast<uint16_t>(v));
    return out;
}

Bytes LogRecords::Header(int address, uint32_t number) {
    Bytes out;
    PutU16(out, static_cast<uint16_t>(address));
    PutU16(out, 0);
    PutU16(out, static_cast<uint16_t>(number & 0xFFFF));
    PutU16(out, BatchCount(number));
    out += TimeStamp(number);
    for (uint32_t v : {number, 1000 + number, 0u, 0u, 7u}) PutU32(out, v);
    PutU16(out, 2);  // names used
    PutText(out, "GASOLINE", 10);
    PutText(out, "DIESEL", 10);
    PadTo(out, 246);
    PutU32(out, kEscapedFloat);
    PutF32(out, 1234.5f);
    PadTo(out, 270);
    PutF64(out, number + 0.25);
    PutU32(out, static_cast<uint32_t>(kEscapedDouble >> 32));
    PutU32(out, static_cast<uint32_t>(kEscapedDouble & 0xFFFFFFFFu));
    PadTo(out, 764);
    PutText(out, Numbered("TKT", number), 22);
    for (int i = 1; i <= 5; ++i) PutText(out, Numbered("DRIVER ", static_cast<uint32_t>(i)), 20);
    PutText(out, "NORTH CARRIERS", 48);
    for (int i = 1; i <= 3; ++i) PutText(out, Numbered("ORDER ", static_cast<uint32_t>(i)), 32);
    PutText(out, "TRAILER 9", 32);
    out += "Loaded";
    out.push_back('\0');
    return out;
}

Bytes LogRecords::Extra(uint32_t number) {
    Bytes out(4, '\0');
    for (uint16_t v = 1; v <= 5; ++v) PutU16(out, v);
    PutF32(out, 2.5f);
    PutU32(out, kEscapedFloat);
    PadTo(out, 34);
    for (int i = 1; i <= 8; ++i) PutText(out, Numbered("X", number * 10 + static_cast<uint32_t>(i)), 32);
    return out;
}

Bytes LogRecords::Batch(uint32_t number, uint16_t batch) {
    Bytes out;
    PutU16(out, batch);
    PutU16(out, 0);
    for (uint16_t v : {uint16_t{1}, uint16_t{2}, uint16_t{3}}) PutU16(out, v);
    PutU32(out, number);
    PutF32(out, 100.0f * batch);
    PadTo(out, 42);
    PutF64(out, 99.75);
    PadTo(out, 282);
    PutU16(out, 1);
    PutText(out, "ADDV", 8);
    PadTo(out, 364);
    PutU32(out, kEscapedFloat);
    PadTo(out, 1046);
    return out;
}

Bytes LogRecords::BayTotals(uint32_t) {
    Bytes out(4, '\0');
    for (int i = 0; i < 180; ++i) PutF64(out, i / 2.0);
    return out;
}

Bytes LogRecords::EventEntry(uint32_t sequence) { return Entry(Numbered("Event ", sequence), 92, sequence); }

Bytes LogRecords::AuditEntry(uint32_t sequence) {
    return Entry(Numbered("SY 111 changed by ", sequence), 72, sequence);
}

}  // namespace sim
