#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

class ArchiveReader;
class ArchiveWriter;

// The class record written in front of the first object of a class: the schema number and
// the class name ("CEquation", "ReportItem"). Every persistent class of the suite has schema 0.
struct ArchiveClass {
    std::string_view name;
    uint16_t schema = 0;
};

// A class whose objects are written with ArchiveWriter::WriteObject and read back with
// ArchiveReader::ReadObject (the object lists of the equation and report files).
class ArchiveObject {
public:
    virtual ~ArchiveObject() = default;
    virtual ArchiveClass GetArchiveClass() const = 0;
    virtual void Store(ArchiveWriter& out) const = 0;
    virtual void Load(ArchiveReader& in) = 0;
};

// The classes a loader accepts, by name; a class record naming anything else refuses the file.
class ArchiveClassRegistry {
public:
    using Factory = std::function<std::unique_ptr<ArchiveObject>()>;
    struct Entry {
        std::string name;
        uint16_t schema = 0;
        Factory make;
    };

    ArchiveClassRegistry& Add(std::string name, uint16_t schema, Factory make) {
        entries_.push_back(Entry{std::move(name), schema, std::move(make)});
        return *this;
    }

    // For a default-constructible class T with a static `kArchiveClass` (ArchiveClass).
    template <class T>
    ArchiveClassRegistry& Add() {
        return Add(std::string(T::kArchiveClass.name), T::kArchiveClass.schema,
                   [] { return std::unique_ptr<ArchiveObject>(std::make_unique<T>()); });
    }

    // Names compare exactly, case included.
    const Entry* Find(std::string_view name) const {
        for (const auto& e : entries_)
            if (e.name == name) return &e;
        return nullptr;
    }

private:
    std::vector<Entry> entries_;
};

}  // namespace qs
