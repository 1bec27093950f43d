#pragma once
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ArchiveObject.h"

namespace qs {

// Writes a document in the binary archive encoding of the program's document files, into memory:
// little-endian numbers, fixed-size text fields, counted strings, counts, and objects tagged
// with class records and back-references. SaveTo puts the finished bytes on disk atomically,
// so a failed save leaves the old file as it was.
class ArchiveWriter {
public:
    ArchiveWriter() = default;
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    void WriteU8(uint8_t v);
    void WriteI8(int8_t v) { WriteU8(static_cast<uint8_t>(v)); }
    void WriteU16(uint16_t v);
    void WriteI16(int16_t v) { WriteU16(static_cast<uint16_t>(v)); }
    void WriteU32(uint32_t v);
    void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
    void WriteU64(uint64_t v);
    void WriteI64(int64_t v) { WriteU64(static_cast<uint64_t>(v)); }
    void WriteFloat(float v);
    void WriteDouble(double v);
    void WriteBytes(const void* data, size_t length);
    void WriteBytes(std::string_view bytes) { WriteBytes(bytes.data(), bytes.size()); }

    // A char[fieldSize] field: the text up to its first NUL, cut to fieldSize - 1 characters,
    // then NULs to the full size, so the field always ends with at least one NUL.
    void WriteFixedText(std::string_view text, size_t fieldSize);

    // A counted string: length < 0xFF as one byte; else 0xFF and a 16-bit length below 0xFFFE
    // (0xFFFE announces wide characters, 0xFFFF a longer length); else 0xFF, 0xFFFF and a
    // 32-bit length. Then the bytes, single-byte characters, no terminator.
    void WriteString(std::string_view text);

    // An element count: below 0xFFFF as a 16-bit number, else 0xFFFF and a 32-bit number.
    void WriteCount(size_t count);

    // A string array: its count, then each element as a counted string.
    void WriteStringArray(const std::vector<std::string>& items);

    // One object, or the null object (tag 0) for nullptr. The first object of a class is
    // preceded by the class record (tag 0xFFFF, schema, name length, name); later objects of
    // that class by the class's index with bit 0x8000. Writing the same object again writes
    // only its index. Classes and objects share one index sequence starting at 1.
    void WriteObject(const ArchiveObject* object);

    // An object list: the count, then each element with WriteObject. Any range whose
    // elements dereference to an ArchiveObject (raw or smart pointers).
    template <class Range>
    void WriteObjectList(const Range& items) {
        WriteCount(static_cast<size_t>(std::distance(std::begin(items), std::end(items))));
        for (const auto& item : items) WriteObject(item ? &*item : nullptr);
    }

    // Room for this many bytes in all, so a large archive is not moved as it grows.
    void Reserve(size_t total) { bytes_.reserve(total); }

    const std::string& Bytes() const { return bytes_; }
    size_t Size() const { return bytes_.size(); }

    // Writes the bytes to `path` through a temporary file and a rename. False (errno kept)
    // when anything fails; the old file is then untouched.
    [[nodiscard]] bool SaveTo(const std::string& path) const;

private:
    void WriteTag(uint32_t index, bool isClass);
    // Makes room for `more` bytes, doubling: appending a run of fill bytes grows the string
    // only to the size asked for, which copied a whole document once per record.
    void Grow(size_t more);

    std::string bytes_;
    uint32_t nextIndex_ = 1;  // 0 is the null object
    std::unordered_map<std::string, uint32_t> classIndex_;
    std::unordered_map<const ArchiveObject*, uint32_t> objectIndex_;
};

}  // namespace qs
