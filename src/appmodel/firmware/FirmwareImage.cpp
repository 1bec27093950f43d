#include "appmodel/firmware/FirmwareImage.h"

#include <fstream>

#include "link/Crc32.h"

namespace qs {

FirmwareImage::FirmwareImage(std::vector<uint8_t> bytes)
    : bytes_(std::move(bytes)), crc_(Crc32(bytes_.data(), bytes_.size())) {}

std::optional<FirmwareImage> FirmwareImage::Read(const std::string& path, Fault* fault) {
    auto fail = [&](Fault why) -> std::optional<FirmwareImage> {
        if (fault) *fault = why;
        return std::nullopt;
    };
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail(Fault::kMissing);
    std::vector<uint8_t> bytes;
    // Read in pieces up to one byte past the limit: a file that grows while it is read, or
    // a device file without a size, is bounded all the same.
    char chunk[65536];
    while (in) {
        in.read(chunk, sizeof chunk);
        const auto got = static_cast<size_t>(in.gcount());
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() > kMaxBytes) return fail(Fault::kTooLarge);
    }
    if (in.bad()) return fail(Fault::kMissing);
    if (fault) *fault = Fault::kNone;
    return FirmwareImage(std::move(bytes));
}

std::optional<float> FirmwareImage::RevisionIn(std::span<const FirmwareIdentity> table) const {
    return DeviceIdentification::Find(table, crc_);
}

}  // namespace qs
