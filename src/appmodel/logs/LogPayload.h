#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace qs {

// The data of one reply to a log request as the device lays its records out: big-endian
// integers, IEEE floats, texts ending at a NUL inside fixed fields. Every read stays inside the
// bytes there are (a number past the end reads 0, a text stops at the end); a formatter checks
// Has() for its record's fixed part before it reads any of it.
class LogPayload {
public:
    explicit LogPayload(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Size() const { return bytes_.size(); }
    bool Has(size_t bytes) const { return bytes_.size() >= bytes; }

    uint16_t U16(size_t at) const;
    uint32_t U32(size_t at) const;
    float F32(size_t at) const;
    double F64(size_t at) const;
    // The text of the field of `size` bytes at `at`: up to its first NUL, never more than the
    // field, never past the end.
    std::string Text(size_t at, size_t size) const;
    // The text from `at` to its NUL or to the end of the reply.
    std::string TextToEnd(size_t at) const;

private:
    uint64_t Bits(size_t at, size_t bytes) const;

    std::span<const uint8_t> bytes_;
};

}  // namespace qs
