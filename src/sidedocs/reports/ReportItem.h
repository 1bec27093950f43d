#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/ArchiveObject.h"

namespace qs {

class CParam;
class ParamDictionary;

// What an entry of a report prints.
enum ReportItemType : int32_t {
    kReportItemValue = 0,        // "Run/Program Data Value": the register's value with the format
    kReportItemDescription = 1,  // "Run/Program Data Description": the register's name
    kReportItemUserText = 2,     // "User-defined Text": the entry's own text
    kReportItemValueText = 3,    // "Run/Program Data Value (text)": the option text the value selects
};

// How the device's record of an entry says what it prints (bytes 30-33; 0 ends the entries).
enum ReportDeviceKind : uint32_t {
    kReportKindEnd = 0,
    kReportKindOffsetValue = 0xFFF2,  // value whose offset is the reference register's value
    kReportKindRunValue = 0xFFF3,     // value of a transaction, batch, product-run or bay-run register
    kReportKindOptionText = 0xFFF7,   // option text of a value
    kReportKindText = 0xFFF8,         // a text of the definition's text list
    kReportKindName = 0xFFF9,         // a register's name (sent by the device only)
    kReportKindValue = 0xFFFC,        // any other register's value
};

// One entry of a report definition: what is printed at one line and column of the page. It is
// kept in the ".RPX" file as a 297-byte record and sent to the device as a 50-byte record.
// Register ids carry the instance counted from 1 here and from 0 on the device.
class ReportItem final : public ArchiveObject {
public:
    static constexpr ArchiveClass kArchiveClass{"ReportItem", 0};
    static constexpr size_t kFormatSize = 14;
    static constexpr size_t kTextSize = 255;
    static constexpr size_t kFileRecordSize = 4 * 4 + kFormatSize + kTextSize + 3 * 4;
    static constexpr size_t kDeviceRecordSize = 50;
    // Line and column + 1 must fit the device record's 16 bits.
    static constexpr int kMaxPosition = 0xFFFE;
    static constexpr const char* kDefaultFormat = "%s";
    static constexpr const char* kNewItemText = "New Item";
    static constexpr int kConditionCount = 9;

    using DeviceRecord = std::array<uint8_t, kDeviceRecordSize>;

    // Line 0, column 0, a description without a register, format "%s", text "New Item".
    ReportItem();
    // A copy of `source` at another cell.
    ReportItem(int line, int column, const ReportItem& source);
    // A user text.
    ReportItem(int line, int column, std::string_view text);
    ReportItem(const ReportItem&) = delete;
    ReportItem& operator=(const ReportItem&) = delete;

    int Line() const { return line_; }
    int Column() const { return column_; }
    // Kept within 0..kMaxPosition.
    void MoveTo(int line, int column);

    int Type() const { return type_; }
    // A type outside 0-3 becomes user text.
    void SetType(int type);
    bool IsTextKind() const { return type_ == kReportItemDescription || type_ == kReportItemUserText; }

    uint32_t RegisterId() const { return registerId_; }
    // The dictionary entry of the register; looked up, not owned. Null for user text.
    const CParam* Entry() const { return entry_; }
    void SetRegister(uint32_t id, const CParam* entry);

    // At most 13 characters, cut at a NUL.
    const std::string& Format() const { return format_; }
    void SetFormat(std::string_view format);
    // At most 254 characters, cut at a NUL.
    const std::string& Text() const { return text_; }
    void SetText(std::string_view text);

    uint32_t ReferenceId() const { return referenceId_; }
    void SetReferenceId(uint32_t id) { referenceId_ = id; }
    int Condition() const { return condition_; }
    void SetCondition(int condition) { condition_ = condition; }
    bool UseReferenceOffset() const { return useReferenceOffset_; }
    void SetUseReferenceOffset(bool use) { useReferenceOffset_ = use; }

    // The ".RPX" record.
    ArchiveClass GetArchiveClass() const override { return kArchiveClass; }
    void Store(ArchiveWriter& out) const override;
    void Load(ArchiveReader& in) override;
    // After a load: the dictionary entry of a register item, and the text of a description
    // (the register's name) or of an option-text item (its first option).
    void ResolveAfterLoad(const ParamDictionary& dictionary);

    // Whether the device can be given this entry: every register it names (the register of a
    // value or option-text item, the reference it takes its offset from, any reference) is in
    // the dictionary. One that is not would be sent as zeros, which end the device's list.
    bool CanSend(const ParamDictionary& dictionary) const;
    // The 50-byte device record; `textIndex` goes into a text record. Nullopt when !CanSend.
    std::optional<DeviceRecord> ToDeviceRecord(const ParamDictionary& dictionary, uint32_t textIndex) const;
    static uint32_t DeviceKind(std::span<const uint8_t, kDeviceRecordSize> record);
    // The entry a device record describes; null for a kind this program does not know. A text
    // or name record's text comes later, from the definition's text list.
    static std::unique_ptr<ReportItem> FromDeviceRecord(std::span<const uint8_t, kDeviceRecordSize> record,
                                                        const ParamDictionary& dictionary);

    // Register ids between the program's instance count (from 1) and the device's (from 0),
    // for a register of the dictionary entry `entry`.
    static uint32_t ToDeviceId(uint32_t id, const CParam* entry);
    static uint32_t FromDeviceId(uint32_t id, const CParam* entry);

private:
    int line_ = 0;
    int column_ = 0;
    int type_ = kReportItemDescription;
    uint32_t registerId_ = 0;
    const CParam* entry_ = nullptr;
    std::string format_ = kDefaultFormat;
    std::string text_ = kNewItemText;
    uint32_t referenceId_ = 0;
    int condition_ = 0;
    bool useReferenceOffset_ = false;
};

}  // namespace qs
