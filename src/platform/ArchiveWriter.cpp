#include "platform/ArchiveWriter.h"

#include <algorithm>

#include <bit>
#include <cstring>
#include <stdexcept>

#include "platform/AtomicFile.h"

namespace qs {

namespace {
constexpr uint16_t kNullTag = 0;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
// The index sequence must stay below the class bit of the long tag.
constexpr uint32_t kMaxMapCount = 0x3FFFFFFEu;
}  // namespace

void ArchiveWriter::WriteU8(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }

void ArchiveWriter::WriteU16(uint16_t v) {
    WriteU8(static_cast<uint8_t>(v));
    WriteU8(static_cast<uint8_t>(v >> 8));
}

void ArchiveWriter::WriteU32(uint32_t v) {
    WriteU16(static_cast<uint16_t>(v));
    WriteU16(static_cast<uint16_t>(v >> 16));
}

void ArchiveWriter::WriteU64(uint64_t v) {
    WriteU32(static_cast<uint32_t>(v));
    WriteU32(static_cast<uint32_t>(v >> 32));
}

void ArchiveWriter::WriteFloat(float v) { WriteU32(std::bit_cast<uint32_t>(v)); }

void ArchiveWriter::WriteDouble(double v) { WriteU64(std::bit_cast<uint64_t>(v)); }

void ArchiveWriter::Grow(size_t more) {
    const size_t need = bytes_.size() + more;
    if (need > bytes_.capacity()) bytes_.reserve(std::max({need, 2 * bytes_.capacity(), size_t{4096}}));
}

void ArchiveWriter::WriteBytes(const void* data, size_t length) {
    if (length == 0) return;
    Grow(length);
    bytes_.append(static_cast<const char*>(data), length);
}

void ArchiveWriter::WriteFixedText(std::string_view text, size_t fieldSize) {
    if (fieldSize == 0) return;
    size_t n = text.find('\0');
    if (n == std::string_view::npos) n = text.size();
    if (n > fieldSize - 1) n = fieldSize - 1;
    Grow(fieldSize);
    WriteBytes(text.data(), n);
    bytes_.append(fieldSize - n, '\0');
}

void ArchiveWriter::WriteString(std::string_view text) {
    const size_t n = text.size();
    if (n < 0xFF) {
        WriteU8(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteU8(0xFF);
        WriteU16(static_cast<uint16_t>(n));
    } else if (n < 0xFFFFFFFFu) {
        WriteU8(0xFF);
        WriteU16(0xFFFF);
        WriteU32(static_cast<uint32_t>(n));
    } else {
        throw std::length_error("string too long for an archive");
    }
    WriteBytes(text.data(), n);
}

void ArchiveWriter::WriteCount(size_t count) {
    if (count < 0xFFFF) {
        WriteU16(static_cast<uint16_t>(count));
    } else if (count < 0xFFFFFFFFu) {
        WriteU16(0xFFFF);
        WriteU32(static_cast<uint32_t>(count));
    } else {
        throw std::length_error("count too large for an archive");
    }
}

void ArchiveWriter::WriteStringArray(const std::vector<std::string>& items) {
    WriteCount(items.size());
    for (const auto& s : items) WriteString(s);
}

void ArchiveWriter::WriteTag(uint32_t index, bool isClass) {
    if (index < kBigObjectTag) {
        WriteU16(static_cast<uint16_t>(isClass ? (kClassTag | index) : index));
    } else {
        WriteU16(kBigObjectTag);
        WriteU32(isClass ? (kBigClassTag | index) : index);
    }
}

void ArchiveWriter::WriteObject(const ArchiveObject* object) {
    if (object == nullptr) {
        WriteU16(kNullTag);
        return;
    }
    if (auto seen = objectIndex_.find(object); seen != objectIndex_.end()) {
        WriteTag(seen->second, false);
        return;
    }
    if (nextIndex_ + 2 > kMaxMapCount) throw std::length_error("too many objects for an archive");

    const ArchiveClass cls = object->GetArchiveClass();
    std::string name(cls.name);
    if (auto known = classIndex_.find(name); known != classIndex_.end()) {
        WriteTag(known->second, true);
    } else {
        if (name.size() > 0xFFFF) throw std::length_error("class name too long");
        WriteU16(kNewClassTag);
        WriteU16(cls.schema);
        WriteU16(static_cast<uint16_t>(name.size()));
        WriteBytes(name.data(), name.size());
        classIndex_.emplace(std::move(name), nextIndex_++);
    }
    // The object is entered before its own data, so objects it refers to see its index.
    objectIndex_.emplace(object, nextIndex_++);
    object->Store(*this);
}

bool ArchiveWriter::SaveTo(const std::string& path) const { return WriteFileAtomically(path, bytes_); }

}  // namespace qs
