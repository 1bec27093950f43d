#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/DataSetStore.h"
#include "wire/Bytes.h"

namespace sim {

// How the controller keeps its equation set. A completed write of 0x0413 is taken apart:
// the 30-byte set header (whose total must be the byte count the write announced; its line
// count includes comment lines the set no longer holds, so it is not checked), the device
// lines numbered 1, 2, ... up to the 50-byte end record, the constant tables and the closing
// 0x00. A set that does not read so, or names a constant or a line it does not have, is
// refused; one that passes is what a read of 0x0412 serves from then on.
class EquationSets {
public:
    static constexpr uint16_t kReadCode = 0x0412;
    static constexpr uint16_t kWriteCode = 0x0413;
    static constexpr size_t kHeaderBytes = 30;
    static constexpr size_t kLineBytes = 50;
    static constexpr size_t kMaxTableBytes = 1000;
    static constexpr uint32_t kMaxTotal = 12000;
    static constexpr uint16_t kFloatTable = 20;
    static constexpr uint16_t kByteTable = 25;
    static constexpr uint16_t kBadFormat = 0x8002;
    static constexpr uint16_t kTooLarge = 0x8005;

    struct Set {
        Bytes header;
        std::vector<Bytes> lines;
        std::vector<uint32_t> floats;  // as their 32-bit patterns
        Bytes bytes;
    };

    struct Decoded {
        std::optional<Set> set;
        uint16_t status = 0;  // the refusal when there is no set
        std::string fault;
    };

    // A written set, its closing 0x00 included.
    static Decoded Decode(std::string_view data);
    // The set as a read serves it: header, lines, end record, tables, 0 and 0.
    static Bytes Encode(const Set& set);
    // A completed write of 0x0413: 0 and the set reads serve, or the refusal.
    static uint16_t Take(const Bytes& written, Bytes& set);
    static void Install(DataSetStore& store);
};

}  // namespace sim
