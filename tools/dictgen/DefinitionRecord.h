#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictgen/DictEntry.h"

namespace qs::dictgen {

// The definition record of "PARAM.DAT" and the ".SD3" files: 220 bytes, little-endian, text
// fields zero-padded, followed for an option-list code by (int)max + 1 option texts of 42 bytes.
struct DefinitionRecord {
    static constexpr size_t kSize = 220;
    static constexpr size_t kOptionSize = 42;
    static constexpr size_t kFormatSize = 10;
    static constexpr size_t kNameSize = 42;
    static constexpr size_t kHelpSize = 150;
    static constexpr size_t kMaxOptions = 255;

    // Field offsets within the record.
    static constexpr size_t kNumber = 0;      // u16
    static constexpr size_t kFlags = 2;       // u16
    static constexpr size_t kDataType = 4;    // u8
    static constexpr size_t kDictionary = 5;  // u8
    static constexpr size_t kPosition = 6;    // u8
    static constexpr size_t kInstances = 7;   // u8
    static constexpr size_t kMin = 8;         // float32
    static constexpr size_t kMax = 12;        // float32
    static constexpr size_t kFormat = 16;     // char[10]
    static constexpr size_t kWidth = 26;      // u8
    static constexpr size_t kPrecision = 27;  // u8
    static constexpr size_t kName = 28;       // char[42]
    static constexpr size_t kHelp = 70;       // char[150]

    uint16_t number = 0;
    uint16_t flags = 0;
    uint8_t dataType = 0;
    uint8_t dictionary = 0;
    uint8_t position = 0;
    uint8_t instances = 0;
    float min = 0.0f;
    float max = 0.0f;
    std::string format;
    uint8_t width = 0;
    uint8_t precision = 0;
    std::string name;
    std::string help;
    std::vector<std::string> options;

    // The record of a validated entry under the given number (the code's own number in a
    // ".SD3" file, data type x 100 + position in "PARAM.DAT").
    static DefinitionRecord FromEntry(const DictEntry& entry, uint16_t number);

    // Appends the record and its option texts. Texts longer than their field are cut so that
    // a NUL always ends them.
    void AppendTo(std::string& out) const;

    // Reads one record at `offset` and advances it; nullopt when the data ends early. Text
    // fields end at their first NUL or at the end of the field.
    static std::optional<DefinitionRecord> Read(std::string_view data, size_t& offset);

    // Number of option texts that follow a record with these flags and maximum.
    static size_t OptionCount(uint16_t flags, float max);
};

}  // namespace qs::dictgen
