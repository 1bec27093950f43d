#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "device/DataSetStore.h"
#include "wire/Bytes.h"

namespace sim {

// The device's five report definitions (User Configured Report 1 and 2, Batch Detail and
// Transaction Report each, and the Prove Report), one per slot. A slot is written with its
// write code (0x0409, 0x040B, 0x040D, 0x040F, 0x041C) like any block data set, one frame per
// record or text; a complete write is checked record by record and kept, without its end
// byte, under the slot's read code (0x0408, 0x040A, 0x040C, 0x040E, 0x041B), which serves it
// back. Definitions live in the controller's data-set store, so with a data folder they are
// the files "0408.bin" and so on, and a file put there is the slot's definition.
struct ReportDefinitions {
    static constexpr size_t kRecord = 50;
    static constexpr uint16_t kBadFormat = 0x8002;
    static constexpr std::array<uint16_t, 5> kReadCodes = {0x0408, 0x040A, 0x040C, 0x040E, 0x041B};
    static constexpr std::array<uint16_t, 5> kWriteCodes = {0x0409, 0x040B, 0x040D, 0x040F, 0x041C};

    // Keeps the five slots in `store`.
    static void Install(DataSetStore& store);
    // A completed write of a slot: 0 and the definition without its end byte, or the refusal.
    static uint16_t Take(const Bytes& written, Bytes& set);

    // "" when `written` (a whole download: records, texts and the end byte) is a definition the
    // device can print, else what is wrong with it.
    static std::string Check(std::string_view written);
};

}  // namespace sim
