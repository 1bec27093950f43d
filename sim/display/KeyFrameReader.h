#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "wire/Bytes.h"

namespace sim {

// One 16-byte key frame from an emulator, or bytes that could not start one, with what is
// wrong with it ("" when nothing).
struct KeyFrameRecord {
    Bytes raw;
    bool frame = false;  // false: bytes skipped while looking for 02 01
    int address = -1;
    int code = -1;
    int flags = -1;
    uint32_t stamp = 0;
    std::string error;
};

// Cuts the emulator's byte stream into key frames and checks each: the start bytes 02 01, the
// fixed bytes 00 06 and 00, the CRC-32 of the first twelve bytes, and a time stamp within 5 s
// of our own local time plus one day.
class KeyFrameReader {
public:
    static constexpr size_t kSize = 16;
    static constexpr int64_t kStampSlackSeconds = 5;

    std::vector<KeyFrameRecord> Feed(std::string_view data, int64_t wallSeconds);

    // Local seconds since 1970 (time-zone and summer-time offsets added) plus 86400.
    static int64_t ExpectedStamp(int64_t wallSeconds);

private:
    Bytes pending_;
};

}  // namespace sim
