#include "display/KeyFrameReader.h"

#include <ctime>

#include "wire/Crc32.h"

namespace sim {

int64_t KeyFrameReader::ExpectedStamp(int64_t wallSeconds) {
    const auto t = static_cast<time_t>(wallSeconds);
    tm local{};
    const long offset = ::localtime_r(&t, &local) ? local.tm_gmtoff : 0;
    return wallSeconds + offset + 86400;
}

std::vector<KeyFrameRecord> KeyFrameReader::Feed(std::string_view data, int64_t wallSeconds) {
    std::vector<KeyFrameRecord> out;
    pending_.append(data);
    while (!pending_.empty()) {
        const bool startsWell = ByteAt(pending_, 0) == 0x02 && (pending_.size() < 2 || ByteAt(pending_, 1) == 0x01);
        if (!startsWell) {
            // Skip to the next 02 01 (or a lone 02 at the end, which may yet start one).
            size_t next = pending_.find("\x02\x01", 1);
            if (next == Bytes::npos) next = ByteAt(pending_, pending_.size() - 1) == 0x02 ? pending_.size() - 1 : pending_.size();
            KeyFrameRecord skipped;
            skipped.raw = pending_.substr(0, next);
            skipped.error = "bad start bytes";
            out.push_back(std::move(skipped));
            pending_.erase(0, next);
            continue;
        }
        if (pending_.size() < kSize) break;
        KeyFrameRecord r;
        r.frame = true;
        r.raw = pending_.substr(0, kSize);
        pending_.erase(0, kSize);
        r.address = ByteAt(r.raw, 2);
        r.code = ByteAt(r.raw, 3);
        r.flags = ByteAt(r.raw, 11);
        r.stamp = GetU32(r.raw, 6);
        std::string error;
        if (ByteAt(r.raw, 4) != 0x00 || ByteAt(r.raw, 5) != 0x06 || ByteAt(r.raw, 10) != 0x00) error += "bad fixed bytes; ";
        if (GetU32(r.raw, 12) != Crc32::Of(std::string_view(r.raw).substr(0, 12))) error += "bad CRC; ";
        const int64_t off = static_cast<int64_t>(r.stamp) - ExpectedStamp(wallSeconds);
        if (off > kStampSlackSeconds || off < -kStampSlackSeconds) error += "time stamp off by " + std::to_string(off) + " s; ";
        if (!error.empty()) error.resize(error.size() - 2);
        r.error = std::move(error);
        out.push_back(std::move(r));
    }
    return out;
}

}  // namespace sim
