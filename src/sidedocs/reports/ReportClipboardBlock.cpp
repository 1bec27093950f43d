#include "sidedocs/reports/ReportClipboardBlock.h"

#include <algorithm>

#include "programdata/CParam.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/ReportItem.h"
#include "sidedocs/reports/ReportItemTokens.h"

namespace qs {

namespace {

void PutLe32(std::string& out, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t Le32At(std::string_view in, size_t at) {
    uint32_t v = 0;
    for (size_t i = 4; i-- > 0;) v = v << 8 | static_cast<uint8_t>(in[at + i]);
    return v;
}

// The text of a char[size] field: up to its first NUL, at most size - 1 characters.
std::string FieldText(std::string_view bytes, size_t at, size_t size) {
    std::string_view field = bytes.substr(at, size - 1);
    return std::string(field.substr(0, std::min(field.find('\0'), field.size())));
}

void PutField(std::string& out, size_t at, size_t size, const std::string& text) {
    const size_t n = std::min(text.size(), size - 1);
    std::copy_n(text.begin(), n, out.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

ReportClipboardBlock ReportClipboardBlock::Of(const ReportItem& item, uint32_t token) {
    return ReportClipboardBlock{token, item.RegisterId(), item.Text(), item.Format()};
}

std::string ReportClipboardBlock::Encode() const {
    std::string out(kSize, '\0');
    PutLe32(out, 0, token);
    PutLe32(out, 4, registerId);
    PutField(out, kTextAt, ReportItem::kTextSize, text.substr(0, text.find('\0')));
    PutField(out, kFormatAt, ReportItem::kFormatSize, format.substr(0, format.find('\0')));
    return out;
}

std::optional<ReportClipboardBlock> ReportClipboardBlock::Decode(std::string_view bytes) {
    if (bytes.size() < kSize) return std::nullopt;
    return ReportClipboardBlock{Le32At(bytes, 0), Le32At(bytes, 4), FieldText(bytes, kTextAt, ReportItem::kTextSize),
                                FieldText(bytes, kFormatAt, ReportItem::kFormatSize)};
}

std::string ReportClipboardBlock::PlainText(const ReportItem& item) {
    std::string out(kPlainTextSize, '\0');
    PutField(out, 0, kPlainTextSize, item.Text());
    return out;
}

std::unique_ptr<ReportItem> ReportClipboardBlock::ItemFromPlainText(std::string_view plain, int line, int column) {
    std::string text(plain.substr(0, std::min(plain.find('\0'), ReportItem::kTextSize - 1)));
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return std::make_unique<ReportItem>(line, column, text);
}

std::unique_ptr<ReportItem> ReportClipboardBlock::MakeItem(const ReportItemTokens& tokens, int line, int column,
                                                           const ParamDictionary& dictionary) const {
    if (const ReportItem* source = tokens.Resolve(token)) {
        auto copy = std::make_unique<ReportItem>(line, column, *source);
        copy->SetText(text);
        return copy;
    }
    if (registerId == 0) return std::make_unique<ReportItem>(line, column, text);
    auto item = std::make_unique<ReportItem>();
    item->MoveTo(line, column);
    const CParam* entry = dictionary.FindParamByRegisterId(registerId);
    item->SetRegister(registerId, entry);
    item->SetType(entry && entry->HasOptionList() ? kReportItemValueText
                  : entry && text == entry->Name() ? kReportItemDescription
                                                   : kReportItemValue);
    item->SetFormat(format);
    item->SetText(text);
    return item;
}

}  // namespace qs
