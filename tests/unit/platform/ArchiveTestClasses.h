#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "DeviceFrames.h"  // Hex
#include "platform/BinaryArchive.h"

namespace qs::test {

// "FF 00 41" -> the three bytes; blanks are ignored.
inline std::string Bytes(const std::string& hex) {
    std::string out;
    int high = -1;
    for (char c : hex) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hex digits");
    return out;
}

// Two small persistent classes, the shape of an equation line and a report item.
class LineObject : public ArchiveObject {
public:
    static constexpr ArchiveClass kArchiveClass{"CA", 0};
    LineObject() = default;
    LineObject(int16_t n, std::string t) : number(n), text(std::move(t)) {}
    ArchiveClass GetArchiveClass() const override { return kArchiveClass; }
    void Store(ArchiveWriter& out) const override {
        out.WriteI16(number);
        out.WriteString(text);
    }
    void Load(ArchiveReader& in) override {
        number = in.ReadI16();
        text = in.ReadString(255);
    }
    int16_t number = 0;
    std::string text;
};

class ItemObject : public ArchiveObject {
public:
    static constexpr ArchiveClass kArchiveClass{"CB", 0};
    ItemObject() = default;
    explicit ItemObject(uint8_t v) : value(v) {}
    ArchiveClass GetArchiveClass() const override { return kArchiveClass; }
    void Store(ArchiveWriter& out) const override { out.WriteU8(value); }
    void Load(ArchiveReader& in) override { value = in.ReadU8(); }
    uint8_t value = 0;
};

// An object that holds another object (or null): nesting and references inside objects.
class NodeObject : public ArchiveObject {
public:
    static constexpr ArchiveClass kArchiveClass{"CNode", 0};
    ArchiveClass GetArchiveClass() const override { return kArchiveClass; }
    void Store(ArchiveWriter& out) const override { out.WriteObject(child.get()); }
    void Load(ArchiveReader& in) override;
    std::unique_ptr<NodeObject> child;
    static const ArchiveClassRegistry& Classes();
};

inline const ArchiveClassRegistry& NodeObject::Classes() {
    static const ArchiveClassRegistry classes = ArchiveClassRegistry().Add<NodeObject>();
    return classes;
}

inline void NodeObject::Load(ArchiveReader& in) {
    std::unique_ptr<ArchiveObject> read = in.ReadObject(Classes());
    if (read) {
        auto* node = dynamic_cast<NodeObject*>(read.get());
        if (node == nullptr) throw ArchiveError(ArchiveFault::BadClass, "not a node");
        read.release();
        child.reset(node);
    }
}

inline ArchiveClassRegistry TwoClasses() { return ArchiveClassRegistry().Add<LineObject>().Add<ItemObject>(); }

}  // namespace qs::test
