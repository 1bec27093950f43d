#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qs {

// The definition of one program code, as the definition files and the dictionary hold it.
// The text fields are fixed arrays: a definition file's bytes are kept as they are, and the
// accessors never read past a field even when it has no NUL.
struct s_DX3_static_file_rec {
    // Flag bits.
    static constexpr uint16_t kOptionList = 0x01;
    static constexpr uint16_t kReadOnly = 0x02;
    static constexpr uint16_t kSequential = 0x10;
    static constexpr uint16_t kRatio = 0x20;
    static constexpr uint16_t kUnloading = 0x40;
    static constexpr uint16_t kHybrid = 0x80;
    static constexpr uint16_t kBlending = 0xB0;  // sequential, ratio and hybrid together

    // Data types with a meaning of their own; the others are integers.
    static constexpr uint8_t kTypeText = 0;
    static constexpr uint8_t kTypeSigned = 3;
    static constexpr uint8_t kTypeReal = 4;
    static constexpr uint8_t kTypeReal2 = 5;
    static constexpr uint8_t kTypeUnsigned = 8;

    static constexpr size_t kFormatSize = 10;
    static constexpr size_t kNameSize = 42;
    static constexpr size_t kHelpSize = 150;
    static constexpr size_t kOptionTextSize = 42;
    // Bytes of one record in a definition file, before its option texts.
    static constexpr size_t kRecordSize = 220;
    // An option list has at most this many texts, whatever its max says.
    static constexpr int kMaxOptions = 255;

    uint16_t number = 0;
    uint16_t flags = 0;
    uint8_t dataType = 0;
    uint8_t dictDirectory = 0;
    uint8_t position = 0;
    uint8_t instances = 0;
    float min = 0.0f;
    float max = 0.0f;
    uint8_t width = 0;
    uint8_t precision = 0;
    char format[kFormatSize] = {};
    char name[kNameSize] = {};
    char help[kHelpSize] = {};

    // The texts up to their first NUL, at most the field size less one.
    std::string Format() const { return FieldText(format, kFormatSize); }
    std::string Name() const { return FieldText(name, kNameSize); }
    std::string Help() const { return FieldText(help, kHelpSize); }
    void SetFormat(std::string_view text) { SetField(format, kFormatSize, text); }
    void SetName(std::string_view text) { SetField(name, kNameSize, text); }
    void SetHelp(std::string_view text) { SetField(help, kHelpSize, text); }

    bool HasOptionList() const { return (flags & kOptionList) != 0; }
    bool IsReadOnly() const { return (flags & kReadOnly) != 0; }
    bool IsRealType() const { return dataType == kTypeReal || dataType == kTypeReal2; }

    // (int)max + 1, kept within 0-255 (a max that is negative, not a number or huge would
    // otherwise ask for a list of any size).
    int OptionCount() const;

    static std::string FieldText(const char* field, size_t size);
    // The text cut to size - 1 characters, the rest of the field NULs.
    static void SetField(char* field, size_t size, std::string_view text);
};

}  // namespace qs
