#include "sidedocs/reports/ReportPayload.h"

#include <algorithm>
#include <cstring>

#include "programdata/ParamDictionary.h"

namespace qs {

namespace {

constexpr char kFormFeed = '\x0C';

// The next zero-terminated text from `pos`, which moves past its zero byte (or to the end).
std::string NextText(std::span<const uint8_t> data, size_t& pos) {
    const size_t start = std::min(pos, data.size());
    const auto end = std::find(data.begin() + static_cast<std::ptrdiff_t>(start), data.end(), uint8_t{0});
    std::string text(data.begin() + static_cast<std::ptrdiff_t>(start), end);
    pos = static_cast<size_t>(end - data.begin()) + (end == data.end() ? 0 : 1);
    return text;
}

}  // namespace

ReportPayload::Record ReportPayload::HeaderRecord(int linesPerPage, int columns) {
    Record r{};
    r[1] = 1;
    r[5] = static_cast<uint8_t>(linesPerPage);
    r[6] = static_cast<uint8_t>(columns);
    return r;
}

uint64_t ReportPayload::Outgoing::Length() const {
    uint64_t n = kRecordSize * (records.size() + 2) + 1;
    for (const std::string& t : texts) n += t.size();
    return n;
}

std::optional<ReportPayload::Outgoing> ReportPayload::Build(std::span<const ReportItem* const> items,
                                                             int linesPerPage, int columns,
                                                             const ParamDictionary& dictionary) {
    if (linesPerPage < 0 || linesPerPage > kMaxPageField || columns < 0 || columns > kMaxPageField)
        return std::nullopt;
    Outgoing out;
    out.header = HeaderRecord(linesPerPage, columns);
    for (const ReportItem* item : items) {
        const auto textIndex = static_cast<uint32_t>(out.texts.size());
        std::optional<Record> record = item->ToDeviceRecord(dictionary, textIndex);
        if (!record) return std::nullopt;
        out.records.push_back(*record);
        if (item->IsTextKind()) out.texts.push_back(item->Text() + '\0');
    }
    return out;
}

std::optional<ReportPayload::Incoming> ReportPayload::Parse(std::span<const uint8_t> data,
                                                             const ParamDictionary& dictionary) {
    if (data.size() < kRecordSize) return std::nullopt;
    Incoming in;
    in.linesPerPage = data[5];
    in.columns = data[6];

    size_t pos = kRecordSize;
    bool ended = false;
    for (; pos + kRecordSize <= data.size(); pos += kRecordSize) {
        const std::span<const uint8_t, kRecordSize> record = data.subspan(pos).first<kRecordSize>();
        if (ReportItem::DeviceKind(record) == kReportKindEnd) {
            pos += kRecordSize;
            ended = true;
            break;
        }
        if (auto item = ReportItem::FromDeviceRecord(record, dictionary)) in.items.push_back(std::move(item));
        else ++in.unknownRecords;
    }
    // Without a terminating record there are no texts to take.
    if (!ended) pos = data.size();

    for (auto& item : in.items) {
        if (!item->IsTextKind()) continue;
        std::string text = NextText(data, pos);
        // A name keeps what the dictionary calls it; the device's text stands in only for a
        // register the dictionary does not have.
        if (item->Type() == kReportItemUserText || !item->Entry()) item->SetText(text);
    }

    if (!in.items.empty()) {
        const ReportItem& last = *in.items.back();
        if (last.Type() == kReportItemUserText && last.Text().find(kFormFeed) != std::string::npos) {
            in.formFeed = true;
            in.items.pop_back();
        }
    }
    std::stable_sort(in.items.begin(), in.items.end(), [](const auto& a, const auto& b) {
        return a->Line() != b->Line() ? a->Line() < b->Line() : a->Column() < b->Column();
    });
    return in;
}

}  // namespace qs
