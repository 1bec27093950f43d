#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "programdata/DeviceIdentification.h"

namespace qs {

// A firmware image file, read once: the bytes recognised by their CRC-32 are the bytes that
// are uploaded, whatever happens to the file meanwhile.
class FirmwareImage {
public:
    // Far more than any image of the device; a larger file is no image of it.
    static constexpr size_t kMaxBytes = 16u << 20;

    enum class Fault { kNone, kMissing, kTooLarge };

    // The whole file; nullopt with the reason when it cannot be read or is too large.
    static std::optional<FirmwareImage> Read(const std::string& path, Fault* fault = nullptr);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    uint32_t Crc() const { return crc_; }
    // The revision of the table's row for this image, if it has one.
    std::optional<float> RevisionIn(std::span<const FirmwareIdentity> table) const;

private:
    explicit FirmwareImage(std::vector<uint8_t> bytes);

    std::vector<uint8_t> bytes_;
    uint32_t crc_;
};

}  // namespace qs
