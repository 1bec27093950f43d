#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ArchiveError.h"
#include "platform/ArchiveObject.h"

namespace qs {

// Reads what ArchiveWriter writes, from bytes held in memory. Every read is bounded: a read
// past the end, a count or length above the caller's bound or above what is left, a tag that
// names nothing, or a class the caller did not register throws ArchiveError and touches no
// memory outside the buffer. Document loaders read a whole file into memory first
// (ReadFile) and catch ArchiveError around their load.
class ArchiveReader {
public:
    explicit ArchiveReader(std::string bytes);
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    uint8_t ReadU8();
    int8_t ReadI8() { return static_cast<int8_t>(ReadU8()); }
    uint16_t ReadU16();
    int16_t ReadI16() { return static_cast<int16_t>(ReadU16()); }
    uint32_t ReadU32();
    int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
    uint64_t ReadU64();
    int64_t ReadI64() { return static_cast<int64_t>(ReadU64()); }
    float ReadFloat();
    double ReadDouble();
    std::string ReadBytes(size_t length);
    void Skip(size_t length);

    // A char[fieldSize] field: all fieldSize bytes are consumed; the text is the bytes up to
    // the first NUL, but never more than maxChars of them (by default fieldSize - 1, as if
    // the last byte were forced to NUL), so a field without a NUL is still bounded.
    std::string ReadFixedText(size_t fieldSize);
    std::string ReadFixedText(size_t fieldSize, size_t maxChars);

    // A counted string (see ArchiveWriter::WriteString) of at most maxLength bytes. A string
    // tagged as wide characters is refused (BadString): this program writes none.
    std::string ReadString(size_t maxLength);

    // An element count of at most maxCount, and small enough that count * minBytesEach bytes
    // are still left (each element needs at least that many).
    size_t ReadCount(size_t maxCount, size_t minBytesEach = 1);

    std::vector<std::string> ReadStringArray(size_t maxCount, size_t maxLength);

    // One object in the tagged form of ArchiveWriter::WriteObject. `created` holds a new
    // object (the caller owns it), `earlier` a back-reference to an object this reader
    // created before (owned by whoever took it; valid while they keep it); both empty for
    // the null object. Class records must name a class of `classes` with the same schema.
    struct ObjectRead {
        std::unique_ptr<ArchiveObject> created;
        ArchiveObject* earlier = nullptr;
    };
    ObjectRead ReadObjectOrReference(const ArchiveClassRegistry& classes);

    // One new object or the null object (nullptr). A back-reference is refused (BadIndex):
    // an object can have one owner only.
    std::unique_ptr<ArchiveObject> ReadObject(const ArchiveClassRegistry& classes);

    // An object list of at most maxCount elements, each a new object of class T (or derived).
    // The null object, a back-reference or another class refuses the list.
    template <class T>
    std::vector<std::unique_ptr<T>> ReadObjectList(const ArchiveClassRegistry& classes, size_t maxCount) {
        const size_t n = ReadCount(maxCount, 2);
        std::vector<std::unique_ptr<T>> items;
        items.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            std::unique_ptr<ArchiveObject> object = ReadObject(classes);
            if (!object) throw ArchiveError(ArchiveFault::BadIndex, "null object in an object list");
            T* typed = dynamic_cast<T*>(object.get());
            if (typed == nullptr) throw ArchiveError(ArchiveFault::BadClass, "object of an unexpected class in a list");
            object.release();
            items.emplace_back(typed);
        }
        return items;
    }

    size_t Size() const { return bytes_.size(); }
    size_t Position() const { return pos_; }
    size_t Remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }

    // Objects nested in objects deeper than this refuse the file (TooDeep) instead of
    // exhausting the stack.
    static constexpr int kMaxDepth = 32;

    enum class FileStatus { Ok, CannotOpen, NotAFile, TooLarge, ReadError };
    // Reads a whole regular file of at most maxBytes into `contents` (errno kept on failure).
    static FileStatus ReadFile(const std::string& path, size_t maxBytes, std::string& contents);
    // Why a read failed, as the line after "Unable to open <path>" (errno of the failed
    // ReadFile for the failures the system reports).
    static std::string FileStatusText(FileStatus status);

private:
    const char* Take(size_t length);

    struct Slot {
        bool isClass = false;
        std::string className;   // classes
        uint16_t schema = 0;     // classes
        ArchiveObject* object = nullptr;  // objects; null once its load failed
    };

    std::string bytes_;
    size_t pos_ = 0;
    int depth_ = 0;
    std::vector<Slot> slots_;  // slot 0 is the null object
};

}  // namespace qs
