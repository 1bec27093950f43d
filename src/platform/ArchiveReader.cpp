#include "platform/ArchiveReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>

namespace qs {

namespace {
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
// Class names of 64 characters or more are refused.
constexpr size_t kMaxClassName = 63;

std::string Printable(const std::string& s) {
    std::string out;
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        out.push_back(c >= 0x20 && c < 0x7F ? ch : '?');
    }
    return out;
}
}  // namespace

ArchiveReader::ArchiveReader(std::string bytes) : bytes_(std::move(bytes)) { slots_.emplace_back(); }

const char* ArchiveReader::Take(size_t length) {
    if (length > Remaining())
        throw ArchiveError(ArchiveFault::EndOfFile, "needed " + std::to_string(length) + " bytes at offset " +
                                                        std::to_string(pos_) + ", " + std::to_string(Remaining()) +
                                                        " left");
    const char* p = bytes_.data() + pos_;
    pos_ += length;
    return p;
}

uint8_t ArchiveReader::ReadU8() { return static_cast<uint8_t>(*Take(1)); }

uint16_t ArchiveReader::ReadU16() {
    const auto* p = reinterpret_cast<const unsigned char*>(Take(2));
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ArchiveReader::ReadU32() {
    const auto* p = reinterpret_cast<const unsigned char*>(Take(4));
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t ArchiveReader::ReadU64() {
    if (Remaining() < 8) Take(8);  // throws without consuming half of it
    const uint64_t lo = ReadU32();
    const uint64_t hi = ReadU32();
    return lo | (hi << 32);
}

float ArchiveReader::ReadFloat() { return std::bit_cast<float>(ReadU32()); }

double ArchiveReader::ReadDouble() { return std::bit_cast<double>(ReadU64()); }

std::string ArchiveReader::ReadBytes(size_t length) {
    const char* p = Take(length);
    return std::string(p, length);
}

void ArchiveReader::Skip(size_t length) { Take(length); }

std::string ArchiveReader::ReadFixedText(size_t fieldSize) {
    return ReadFixedText(fieldSize, fieldSize == 0 ? 0 : fieldSize - 1);
}

std::string ArchiveReader::ReadFixedText(size_t fieldSize, size_t maxChars) {
    const char* p = Take(fieldSize);
    size_t n = 0;
    const size_t limit = maxChars < fieldSize ? maxChars : fieldSize;
    while (n < limit && p[n] != '\0') ++n;
    return std::string(p, n);
}

std::string ArchiveReader::ReadString(size_t maxLength) {
    const size_t start = pos_;
    uint64_t length = ReadU8();
    if (length == 0xFF) {
        const uint16_t w = ReadU16();
        if (w == 0xFFFE)
            throw ArchiveError(ArchiveFault::BadString, "wide-character string at offset " + std::to_string(start));
        length = w;
        if (w == 0xFFFF) {
            const uint32_t d = ReadU32();
            length = d;
            if (d == 0xFFFFFFFFu) length = ReadU64();
        }
    }
    if (length > maxLength)
        throw ArchiveError(ArchiveFault::TooLong, "string of " + std::to_string(length) + " bytes at offset " +
                                                      std::to_string(start) + ", at most " +
                                                      std::to_string(maxLength) + " allowed");
    return ReadBytes(static_cast<size_t>(length));
}

size_t ArchiveReader::ReadCount(size_t maxCount, size_t minBytesEach) {
    const size_t start = pos_;
    uint64_t count = ReadU16();
    if (count == 0xFFFF) {
        const uint32_t d = ReadU32();
        count = d;
        if (d == 0xFFFFFFFFu) count = ReadU64();
    }
    if (count > maxCount)
        throw ArchiveError(ArchiveFault::TooLong, "count of " + std::to_string(count) + " at offset " +
                                                      std::to_string(start) + ", at most " +
                                                      std::to_string(maxCount) + " allowed");
    if (minBytesEach > 0 && count > Remaining() / minBytesEach)
        throw ArchiveError(ArchiveFault::EndOfFile, "count of " + std::to_string(count) + " at offset " +
                                                        std::to_string(start) + " exceeds the bytes left");
    return static_cast<size_t>(count);
}

std::vector<std::string> ArchiveReader::ReadStringArray(size_t maxCount, size_t maxLength) {
    const size_t n = ReadCount(maxCount, 1);
    std::vector<std::string> items;
    items.reserve(n);
    for (size_t i = 0; i < n; ++i) items.push_back(ReadString(maxLength));
    return items;
}

ArchiveReader::ObjectRead ArchiveReader::ReadObjectOrReference(const ArchiveClassRegistry& classes) {
    const size_t start = pos_;
    const uint16_t wTag = ReadU16();
    uint32_t tag;
    if (wTag == kBigObjectTag)
        tag = ReadU32();
    else
        tag = (static_cast<uint32_t>(wTag & kClassTag) << 16) | (wTag & ~kClassTag & 0xFFFFu);
    const auto where = [&] { return " at offset " + std::to_string(start); };

    if ((tag & kBigClassTag) == 0) {
        if (tag == 0) return {};
        if (tag >= slots_.size() || slots_[tag].isClass || slots_[tag].object == nullptr)
            throw ArchiveError(ArchiveFault::BadIndex, "object reference " + std::to_string(tag) + where());
        return {nullptr, slots_[tag].object};
    }

    const ArchiveClassRegistry::Entry* entry = nullptr;
    if (wTag == kNewClassTag) {
        const uint16_t schema = ReadU16();
        const uint16_t nameLength = ReadU16();
        if (nameLength > kMaxClassName)
            throw ArchiveError(ArchiveFault::BadClass, "class name of " + std::to_string(nameLength) + " bytes" + where());
        std::string name = ReadBytes(nameLength);
        entry = classes.Find(name);
        if (entry == nullptr) throw ArchiveError(ArchiveFault::BadClass, "unknown class \"" + Printable(name) + "\"" + where());
        if (entry->schema != schema)
            throw ArchiveError(ArchiveFault::BadSchema, "class " + entry->name + " with schema " + std::to_string(schema) + where());
        Slot slot;
        slot.isClass = true;
        slot.className = std::move(name);
        slot.schema = schema;
        slots_.push_back(std::move(slot));
    } else {
        const uint32_t index = tag & ~kBigClassTag;
        if (index == 0 || index >= slots_.size() || !slots_[index].isClass)
            throw ArchiveError(ArchiveFault::BadIndex, "class reference " + std::to_string(index) + where());
        entry = classes.Find(slots_[index].className);
        if (entry == nullptr || entry->schema != slots_[index].schema)
            throw ArchiveError(ArchiveFault::BadClass,
                               "class \"" + Printable(slots_[index].className) + "\" not accepted here" + where());
    }

    if (depth_ >= kMaxDepth) throw ArchiveError(ArchiveFault::TooDeep, "objects nested too deeply" + where());
    std::unique_ptr<ArchiveObject> object = entry->make ? entry->make() : nullptr;
    if (!object) throw ArchiveError(ArchiveFault::BadClass, "class " + entry->name + " cannot be created");

    // Entered before its data is read, as the writer numbered it; a failed load clears the
    // slot so nothing can refer to the discarded object afterwards.
    const size_t slotIndex = slots_.size();
    Slot slot;
    slot.object = object.get();
    slots_.push_back(std::move(slot));
    ++depth_;
    try {
        object->Load(*this);
    } catch (...) {
        --depth_;
        slots_[slotIndex].object = nullptr;
        throw;
    }
    --depth_;
    return {std::move(object), nullptr};
}

std::unique_ptr<ArchiveObject> ArchiveReader::ReadObject(const ArchiveClassRegistry& classes) {
    const size_t start = pos_;
    ObjectRead read = ReadObjectOrReference(classes);
    if (read.earlier != nullptr)
        throw ArchiveError(ArchiveFault::BadIndex, "object stored twice at offset " + std::to_string(start));
    return std::move(read.created);
}

std::string ArchiveReader::FileStatusText(FileStatus status) {
    switch (status) {
    case FileStatus::TooLarge: return "The file is too large.";
    case FileStatus::NotAFile: return "It is not a file.";
    default: return std::strerror(errno);
    }
}

ArchiveReader::FileStatus ArchiveReader::ReadFile(const std::string& path, size_t maxBytes, std::string& contents) {
    contents.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return FileStatus::CannotOpen;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return FileStatus::ReadError;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return FileStatus::NotAFile;
    }
    if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        errno = EFBIG;
        return FileStatus::TooLarge;
    }
    // The size may change under us: read at most one byte more than allowed to notice.
    std::string data;
    data.resize(static_cast<size_t>(st.st_size) + 1);
    size_t have = 0;
    for (;;) {
        if (have == data.size()) {
            if (data.size() > maxBytes) break;
            data.resize(data.size() < maxBytes / 2 ? data.size() * 2 : maxBytes + 1);
        }
        const ssize_t n = ::read(fd, data.data() + have, data.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return FileStatus::ReadError;
        }
        if (n == 0) break;
        have += static_cast<size_t>(n);
    }
    ::close(fd);
    if (have > maxBytes) {
        errno = EFBIG;
        return FileStatus::TooLarge;
    }
    data.resize(have);
    contents = std::move(data);
    return FileStatus::Ok;
}

}  // namespace qs
