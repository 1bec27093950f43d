#pragma once
#include <cstdint>

#include "wire/Bytes.h"

namespace sim {

// The records the simulated controller keeps in its logs, made up from their number and the
// device address so that every run gives the same bytes. Numbers are big-endian, floats IEEE;
// some of them hold the bytes the block escape is for (0x02, 0x03, 0x7F, 0x1B). Layouts:
//   transaction header (part 0): 1062 fixed bytes and a text; batch count at 6 = 1 + number % 3
//   extra record (part 12): 290 bytes; batch b (parts 1..): 1046 bytes, b at 0;
//   bay totals (part 11): 4 bytes and 180 doubles (i / 2); event entry: 92-byte text, time stamp,
//   code; audit entry: 72-byte text, time stamp, code.
class LogRecords {
public:
    static uint16_t BatchCount(uint32_t number) { return static_cast<uint16_t>(1 + number % 3); }

    static Bytes Header(int address, uint32_t number);
    static Bytes Extra(uint32_t number);
    static Bytes Batch(uint32_t number, uint16_t batch);
    static Bytes BayTotals(uint32_t number);
    static Bytes EventEntry(uint32_t sequence);
    static Bytes AuditEntry(uint32_t sequence);
    // year, month, day, 0, second, minute, hour, 0
    static Bytes TimeStamp(uint32_t number);
};

}  // namespace sim
