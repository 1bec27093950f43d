#include "sidedocs/reports/ReportItem.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/BinaryArchive.h"
#include "programdata/CParam.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/ReportSample.h"

namespace qs {

namespace {

// Bytes of the device record.
constexpr size_t kLineAt = 0;
constexpr size_t kColumnAt = 2;
constexpr size_t kFixedAt = 5;  // always 3
constexpr uint8_t kFixedValue = 3;
constexpr size_t kFormatAt = 6;
constexpr size_t kKindAt = 30;
constexpr size_t kRegisterAt = 34;
constexpr size_t kReferenceAt = 38;
constexpr size_t kConditionAt = 42;

// Transaction, batch, product run, product run for batch, bay run data.
bool IsRunDataDirectory(unsigned directory) {
    return directory == 16 || directory == 17 || directory == 18 || directory == 19 || directory == 38;
}

void PutU16(ReportItem::DeviceRecord& r, size_t at, uint16_t v) {
    r[at] = static_cast<uint8_t>(v >> 8);
    r[at + 1] = static_cast<uint8_t>(v);
}

void PutU32(ReportItem::DeviceRecord& r, size_t at, uint32_t v) {
    PutU16(r, at, static_cast<uint16_t>(v >> 16));
    PutU16(r, at + 2, static_cast<uint16_t>(v));
}

uint16_t U16At(std::span<const uint8_t, ReportItem::kDeviceRecordSize> r, size_t at) {
    return static_cast<uint16_t>(r[at] << 8 | r[at + 1]);
}

uint32_t U32At(std::span<const uint8_t, ReportItem::kDeviceRecordSize> r, size_t at) {
    return static_cast<uint32_t>(U16At(r, at)) << 16 | U16At(r, at + 2);
}

std::string Cut(std::string_view text, size_t maxChars) {
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    return std::string(text.substr(0, maxChars));
}

// The entry an id names; 0 names none (user text, no reference).
const CParam* Lookup(const ParamDictionary& dictionary, uint32_t id) {
    return id == 0 ? nullptr : dictionary.FindParamByRegisterId(id);
}

int ClampPosition(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, ReportItem::kMaxPosition)); }

// The option a dictionary entry's first value text selects.
int SelectedOption(const CParam& entry) {
    const long v = std::strtol(entry.Value(0).c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(v, 0, INT_MAX));
}

}  // namespace

ReportItem::ReportItem() = default;

ReportItem::ReportItem(int line, int column, const ReportItem& source)
    : type_(source.type_),
      registerId_(source.registerId_),
      entry_(source.entry_),
      format_(source.format_),
      text_(source.text_),
      referenceId_(source.referenceId_),
      condition_(source.condition_),
      useReferenceOffset_(source.useReferenceOffset_) {
    MoveTo(line, column);
}

ReportItem::ReportItem(int line, int column, std::string_view text) : type_(kReportItemUserText) {
    MoveTo(line, column);
    SetText(text);
}

void ReportItem::MoveTo(int line, int column) {
    line_ = ClampPosition(line);
    column_ = ClampPosition(column);
}

void ReportItem::SetType(int type) {
    type_ = type >= kReportItemValue && type <= kReportItemValueText ? type : kReportItemUserText;
}

void ReportItem::SetRegister(uint32_t id, const CParam* entry) {
    registerId_ = id;
    entry_ = entry;
}

void ReportItem::SetFormat(std::string_view format) { format_ = Cut(format, kFormatSize - 1); }

void ReportItem::SetText(std::string_view text) { text_ = Cut(text, kTextSize - 1); }

// ---- the ".RPX" record

void ReportItem::Store(ArchiveWriter& out) const {
    out.WriteI32(line_);
    out.WriteI32(column_);
    out.WriteI32(type_);
    out.WriteU32(registerId_);
    out.WriteFixedText(format_, kFormatSize);
    out.WriteFixedText(text_, kTextSize);
    out.WriteU32(referenceId_);
    out.WriteI32(condition_);
    out.WriteI32(useReferenceOffset_ ? 1 : 0);
}

void ReportItem::Load(ArchiveReader& in) {
    const int32_t line = in.ReadI32();
    const int32_t column = in.ReadI32();
    const int32_t type = in.ReadI32();
    registerId_ = in.ReadU32();
    format_ = in.ReadFixedText(kFormatSize);
    text_ = in.ReadFixedText(kTextSize);
    referenceId_ = in.ReadU32();
    condition_ = in.ReadI32();
    useReferenceOffset_ = in.ReadI32() != 0;
    MoveTo(line, column);
    SetType(type);
    entry_ = nullptr;
}

void ReportItem::ResolveAfterLoad(const ParamDictionary& dictionary) {
    entry_ = type_ == kReportItemUserText ? nullptr : Lookup(dictionary, registerId_);
    if (!entry_) return;
    if (type_ == kReportItemDescription) SetText(entry_->Name());
    else if (type_ == kReportItemValueText) SetText(entry_->OptionText(0));
}

// ---- the device record

uint32_t ReportItem::ToDeviceId(uint32_t id, const CParam* entry) {
    if (entry && entry->instances != 0 && (id & 0xFF) != 0) return id - 1;
    return id;
}

uint32_t ReportItem::FromDeviceId(uint32_t id, const CParam* entry) {
    // An instance byte of 0xFF would carry into the position: the device cannot mean it.
    if (entry && entry->instances != 0 && (id & 0xFF) != 0xFF) return id + 1;
    return id;
}

bool ReportItem::CanSend(const ParamDictionary& dictionary) const {
    const bool needsRegister = type_ == kReportItemValue || type_ == kReportItemValueText;
    if (needsRegister && !Lookup(dictionary, registerId_)) return false;
    const bool needsReference = referenceId_ != 0 || (type_ == kReportItemValue && useReferenceOffset_);
    return !needsReference || Lookup(dictionary, referenceId_) != nullptr;
}

std::optional<ReportItem::DeviceRecord> ReportItem::ToDeviceRecord(const ParamDictionary& dictionary,
                                                                    uint32_t textIndex) const {
    if (!CanSend(dictionary)) return std::nullopt;
    DeviceRecord r{};
    PutU16(r, kLineAt, static_cast<uint16_t>(line_ + 1));
    PutU16(r, kColumnAt, static_cast<uint16_t>(column_ + 1));
    r[kFixedAt] = kFixedValue;
    std::copy(format_.begin(), format_.end(), r.begin() + kFormatAt);

    if (IsTextKind()) {
        // A description goes as the text it shows: the device prints it as it stands.
        PutU32(r, kKindAt, kReportKindText);
        PutU32(r, kRegisterAt, textIndex);
    } else {
        const CParam* entry = Lookup(dictionary, registerId_);
        uint32_t kind = kReportKindOptionText;
        if (type_ == kReportItemValue) {
            kind = useReferenceOffset_                              ? kReportKindOffsetValue
                   : IsRunDataDirectory(entry->dictDirectory) ? kReportKindRunValue
                                                                    : kReportKindValue;
        }
        PutU32(r, kKindAt, kind);
        PutU32(r, kRegisterAt, ToDeviceId(registerId_, entry));
    }
    if (const CParam* reference = Lookup(dictionary, referenceId_))
        PutU32(r, kReferenceAt, ToDeviceId(referenceId_, reference));
    PutU16(r, kConditionAt, static_cast<uint16_t>(condition_));
    if (type_ == kReportItemValue && useReferenceOffset_) {
        std::swap_ranges(r.begin() + kRegisterAt, r.begin() + kReferenceAt, r.begin() + kReferenceAt);
    }
    return r;
}

uint32_t ReportItem::DeviceKind(std::span<const uint8_t, kDeviceRecordSize> record) { return U32At(record, kKindAt); }

std::unique_ptr<ReportItem> ReportItem::FromDeviceRecord(std::span<const uint8_t, kDeviceRecordSize> record,
                                                         const ParamDictionary& dictionary) {
    const uint32_t kind = DeviceKind(record);
    auto item = std::make_unique<ReportItem>();
    item->MoveTo(U16At(record, kLineAt) - 1, U16At(record, kColumnAt) - 1);
    item->SetFormat(std::string_view(reinterpret_cast<const char*>(record.data()) + kFormatAt, kKindAt - kFormatAt));
    const bool swapped = kind == kReportKindOffsetValue;
    uint32_t registerId = U32At(record, swapped ? kReferenceAt : kRegisterAt);
    const uint32_t referenceId = U32At(record, swapped ? kRegisterAt : kReferenceAt);
    item->condition_ = static_cast<int16_t>(U16At(record, kConditionAt));
    item->referenceId_ = FromDeviceId(referenceId, Lookup(dictionary, referenceId));

    switch (kind) {
    case kReportKindOffsetValue:
    case kReportKindRunValue:
    case kReportKindValue:
    case kReportKindOptionText: {
        const CParam* entry = Lookup(dictionary, registerId);
        item->SetRegister(FromDeviceId(registerId, entry), entry);
        item->useReferenceOffset_ = swapped;
        if (kind == kReportKindOptionText) {
            item->type_ = kReportItemValueText;
            item->SetText(entry ? entry->OptionText(SelectedOption(*entry)) : std::string());
        } else {
            item->type_ = kReportItemValue;
            item->SetText(entry ? ReportSampleText(*entry, item->format_) : item->format_);
        }
        return item;
    }
    case kReportKindText:
        item->type_ = kReportItemUserText;
        item->SetText({});
        return item;
    case kReportKindName: {
        const CParam* entry = Lookup(dictionary, registerId);
        item->type_ = kReportItemDescription;
        item->SetRegister(FromDeviceId(registerId, entry), entry);
        item->SetText(entry ? entry->Name() : std::string());
        return item;
    }
    default:
        return nullptr;
    }
}

}  // namespace qs
