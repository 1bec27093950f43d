#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "programdata/s_DX3_static_file_rec.h"

namespace qs {

class ArchiveReader;
class ArchiveWriter;

// One value record of a program-data file, as read: the document finds the code it belongs to.
struct ValueRecord {
    int32_t directoryType = 0;
    int32_t instance = 0;
    int32_t number = 0;
    std::string value;
    uint8_t level = 255;
};

// One program code: its definition, its value texts (one per instance), its security level,
// its option texts, and its neighbours in the list it belongs to. The lists are linked
// through raw pointers and owned elsewhere (a directory's code list, the dictionary).
class CParam : public s_DX3_static_file_rec {
public:
    // Security level as stored: 0-254 are levels 1-255 as shown, 255 is none.
    static constexpr uint8_t kLevelNone = 255;
    // Longest value text kept; device replies and files cannot grow one past it.
    static constexpr size_t kMaxValueLength = 255;
    // The value record of a program-data file and its text field.
    static constexpr size_t kValueRecordSize = 54;
    static constexpr size_t kValueTextSize = 40;
    // A definition reply needs its 16 fixed bytes and at least the format's end.
    static constexpr size_t kMinDefinitionReply = 17;

    // instanceCount (at least 1) empty value texts, level none, no option texts.
    explicit CParam(int instanceCount = 1);
    // Leaves its list closed behind it.
    ~CParam();
    CParam(const CParam&) = delete;
    CParam& operator=(const CParam&) = delete;

    CParam* Prev() const { return prev_; }
    CParam* Next() const { return next_; }
    // Links this code after `prev` (or alone when null), fixing both neighbours. A code that
    // was linked elsewhere leaves that list first.
    void InsertAfter(CParam* prev);
    void Unlink();

    int ValueCount() const { return static_cast<int>(values_.size()); }
    // The value text of an instance; empty for an instance the code does not have.
    const std::string& Value(int instance) const;
    // Stores the text (cut at a NUL and to kMaxValueLength). False, nothing stored, for an
    // instance outside the values.
    bool SetValue(std::string_view text, int instance);

    uint8_t Level() const { return level_; }
    void SetLevel(uint8_t level) { level_ = level; }
    // The value of a reply to "XV": a decimal number 1-255 is level number - 1, "0" is none;
    // an empty, non-numeric or larger value leaves the level as it was. True when it changed.
    bool ApplyLevelValue(std::string_view value);

    const std::vector<std::string>& OptionTexts() const { return options_; }
    void SetOptionTexts(std::vector<std::string> texts);
    // Empty for an index the list does not have.
    std::string OptionText(int index) const;

    // "Enter up to N characters of text", "Select desired option from list", or the range.
    std::string GetPromptText() const;
    // The value text of an instance formatted with the code's format; the stored text as it
    // stands when it is empty, text, or the format is not one that may be applied.
    std::string FormatValue(int instance) const;
    // "Read Only", the kind of blending and "Unloading ", joined by ", ".
    std::string GetApplicabilityText() const;

    // One definition record (220 bytes), then its option texts when it has a list.
    void SerializeDefinition(ArchiveWriter& out) const;
    // Reads one record into this code; false at the end of the data or for a record that is
    // cut short (the load loop ends there).
    bool SerializeDefinition(ArchiveReader& in);

    // Fills this code from the data of a device definition reply and, when `out` is given,
    // stores it there. False (nothing stored) for data shorter than kMinDefinitionReply.
    bool FromDirectoryRecord(int number, std::span<const uint8_t> data, ArchiveWriter* out);

    // The 54-byte value record of the instance: directory type, instance, number, value text
    // (at most 39 characters) and level (sign-extended: none is -1). Nothing is written for an
    // empty value; returns whether a record was written.
    bool SerializeValue(ArchiveWriter& out, int directoryType, int instance) const;
    // One value record; nullopt when fewer than 54 bytes are left.
    static std::optional<ValueRecord> ReadValueRecord(ArchiveReader& in);

private:
    std::vector<std::string> values_;
    uint8_t level_ = kLevelNone;
    CParam* prev_ = nullptr;
    CParam* next_ = nullptr;
    std::vector<std::string> options_;
};

}  // namespace qs
