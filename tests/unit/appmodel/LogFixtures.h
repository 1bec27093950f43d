#pragma once
// Log records and a device that serves them, built here by hand (big-endian fields put byte by
// byte), for the log downloads' tests.
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "DeviceFrames.h"

namespace qs::test {

// A record of a given size, zero-filled, with fields put at their offsets.
class RecordBytes {
public:
    explicit RecordBytes(size_t size) : bytes(size, '\0') {}

    RecordBytes& U16(size_t at, uint32_t v) { return Put(at, v, 2); }
    RecordBytes& U32(size_t at, uint32_t v) { return Put(at, v, 4); }
    RecordBytes& F32(size_t at, float v) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, 4);
        return Put(at, bits, 4);
    }
    RecordBytes& F64(size_t at, double v) {
        uint64_t bits = 0;
        std::memcpy(&bits, &v, 8);
        Put(at, static_cast<uint32_t>(bits >> 32), 4);
        return Put(at + 4, static_cast<uint32_t>(bits), 4);
    }
    // The text's bytes alone: the zeros already there end it, unless it fills its field.
    RecordBytes& Text(size_t at, const std::string& text) {
        Grow(at + text.size());
        bytes.replace(at, text.size(), text);
        return *this;
    }
    RecordBytes& Fill(size_t at, size_t count, char c) {
        Grow(at + count);
        bytes.replace(at, count, std::string(count, c));
        return *this;
    }
    // A time stamp in the device's order: year, month, day, -, second, minute, hour, -.
    RecordBytes& Stamp(size_t at, int year, int month, int day, int hour, int minute, int second) {
        U16(at, static_cast<uint32_t>(year)).U16(at + 2, static_cast<uint32_t>(month));
        U16(at + 4, static_cast<uint32_t>(day)).U16(at + 6, 0xAAAA);
        U16(at + 8, static_cast<uint32_t>(second)).U16(at + 10, static_cast<uint32_t>(minute));
        return U16(at + 12, static_cast<uint32_t>(hour)).U16(at + 14, 0x5555);
    }
    std::vector<uint8_t> Vec() const { return qs::test::Vec(bytes); }

    std::string bytes;

private:
    void Grow(size_t size) {
        if (bytes.size() < size) bytes.resize(size, '\0');
    }
    RecordBytes& Put(size_t at, uint32_t v, int n) {
        Grow(at + static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * (n - 1 - i)) & 0xFF);
        return *this;
    }
};

inline std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Answers the log requests of the binary protocol (given to ScriptedDevice::onBlock with the
// block's address): ranges per address, and records that say what they are - a header
// "<address>,<number>,<batches>,...", its extra record ",EXTRA", batches " Batch <b>," and bay
// totals.
class FakeLogs {
public:
    struct Range {
        uint32_t first = 0;
        uint32_t last = 0;
    };
    std::map<int, Range> transactions;  // by address; an address without one refuses its range
    std::optional<Range> events, audits;
    uint16_t batches = 1;               // in every header
    int busy = 0;                       // headers answered 0x8038 first (-1: always)
    std::set<uint32_t> silentHeaders;   // numbers whose header gets no answer
    size_t headerBytes = 1062;          // fixed part of the headers served
    std::vector<std::string> asked;     // "<address>:<code hex>:<argument>" of each request

    static std::vector<uint8_t> Header(int address, uint32_t number, uint16_t batches, size_t size = 1062) {
        RecordBytes r(size);
        r.U16(0, static_cast<uint32_t>(address)).U16(4, number & 0xFFFF).U16(6, batches);
        r.Stamp(8, 2024, 3, 4, 5, 6, 7);
        return r.Vec();
    }
    static std::vector<uint8_t> Extra() { return RecordBytes(290).Text(34, "EXTRA").Vec(); }
    static std::vector<uint8_t> Batch(uint16_t b) { return RecordBytes(1046).U16(0, b).Vec(); }
    static std::vector<uint8_t> BayTotals() { return RecordBytes(1444).Vec(); }
    static std::vector<uint8_t> Entry(uint32_t sequence, size_t textBytes) {
        RecordBytes r(textBytes + 18);
        r.Text(0, "Entry " + std::to_string(sequence)).Stamp(textBytes, 2024, 1, 2, 3, 4, 5);
        return r.Vec();
    }

    std::optional<std::string> Serve(int address, const std::string& block) {
        const uint16_t code = static_cast<uint16_t>(U32From(block, 1) & 0xFFFF);
        const uint32_t arg = block.size() == 7 ? (U32From(block, 3) & 0xFFFF) : U32From(block, 5);
        asked.push_back(std::to_string(address) + ":" + Hex(block.substr(3, 2)) + ":" + std::to_string(arg) +
                        (block.size() == 11 ? "/" + std::to_string(U32From(block, 7) & 0xFFFF) : ""));
        auto reply = [&](uint16_t status, const std::vector<uint8_t>& data = {}) {
            return BinaryReply(address, code, status, data);
        };
        if (code == 0x0405 || code == 0x0403 || code == 0x0407) {
            std::optional<Range> r = code == 0x0403 ? events : code == 0x0407 ? audits : std::optional<Range>();
            if (code == 0x0405 && transactions.count(address)) r = transactions[address];
            if (!r) return reply(0x8001);
            return reply(0, Vec(U32Be(arg == 2 ? r->first : r->last)));
        }
        if (code == 0x0402 || code == 0x0406) return reply(0, Entry(arg, code == 0x0402 ? 92 : 72));
        if (code != 0x0404) return reply(0x8002);
        const uint16_t part = static_cast<uint16_t>(U32From(block, 7) & 0xFFFF);
        if (part == 0) {
            if (silentHeaders.count(arg)) return std::string();
            if (busy != 0) {
                if (busy > 0) --busy;
                return reply(0x8038);
            }
            return reply(0, Header(address, arg, batches, headerBytes));
        }
        if (part == 12) return reply(0, Extra());
        if (part == 11) return reply(0, BayTotals());
        return reply(0, Batch(part));
    }
};

}  // namespace qs::test
