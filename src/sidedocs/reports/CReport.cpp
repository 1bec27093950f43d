#include "sidedocs/reports/CReport.h"

#include <algorithm>

#include "platform/BinaryArchive.h"
#include "platform/DocumentFile.h"
#include "platform/UiServices.h"
#include "programdata/CFileHeader.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/ReportDownload.h"
#include "sidedocs/reports/ReportUpload.h"

namespace qs {

namespace {

bool InPageRange(int32_t v) { return v >= 1 && v <= CReport::kMaxPageField; }

bool Before(const ReportItem& a, const ReportItem& b) {
    return a.Line() != b.Line() ? a.Line() < b.Line() : a.Column() < b.Column();
}

}  // namespace

CReport::CReport(const ParamDictionary& dictionary, const UiServices& ui) : dictionary_(dictionary), ui_(ui) {}

CReport::~CReport() = default;

void CReport::OnNewDocument() {
    title_ = kNewTitle;
    charset_ = 0;
    formFeed_ = true;
    UpdateGrid();
}

void CReport::UpdateGrid() {
    gridColumns_ = columns_;
    gridLines_ = std::min(linesPerPage_ * pages_, ReportItem::kMaxPosition + 1);
}

void CReport::SetTitle(std::string_view title) {
    title = title.substr(0, std::min(title.find('\0'), title.size()));
    title_ = std::string(title.substr(0, kMaxTitleLength));
}

void CReport::SetPageSize(int columns, int linesPerPage, int pages) {
    columns_ = std::clamp(columns, 1, kMaxPageField);
    linesPerPage_ = std::clamp(linesPerPage, 1, kMaxPageField);
    pages_ = std::clamp(pages, 1, kMaxPageField);
    UpdateGrid();
}

void CReport::SetCharset(int charset) {
    if (charset >= 0 && charset < kCharsetCount) charset_ = charset;
}

// ---- the entries

ReportItem* CReport::InsertItemInOrder(std::unique_ptr<ReportItem> item) {
    const auto at = std::find_if(items_.begin(), items_.end(), [&](const auto& other) { return Before(*item, *other); });
    return items_.insert(at, std::move(item))->get();
}

std::unique_ptr<ReportItem> CReport::RemoveItem(const ReportItem* item) {
    const auto at = std::find_if(items_.begin(), items_.end(), [&](const auto& other) { return other.get() == item; });
    if (at == items_.end()) return nullptr;
    std::unique_ptr<ReportItem> taken = std::move(*at);
    items_.erase(at);
    return taken;
}

ReportItem* CReport::FindItemAt(int line, int column) const {
    for (const auto& item : items_) {
        if (item->Line() > line) break;
        if (item->Line() == line && item->Column() == column) return item.get();
    }
    return nullptr;
}

void CReport::TakeDefinition(int columns, int linesPerPage, std::vector<std::unique_ptr<ReportItem>> items,
                             bool formFeed) {
    if (columns > 0) columns_ = columns;
    if (linesPerPage > 0) linesPerPage_ = linesPerPage;
    UpdateGrid();
    items_ = std::move(items);
    formFeed_ = formFeed;
}

// ---- the file

void CReport::Serialize(ArchiveWriter& out) const {
    CFileHeader::ForDocument(CFileHeader::kMagicReports, CFileHeader::kReportsDescription).Serialize(out);
    out.WriteI32(columns_);
    out.WriteI32(linesPerPage_);
    out.WriteI32(pages_);
    out.WriteI32(charset_);
    out.WriteI32(formFeed_ ? 1 : 0);
    out.WriteFixedText(title_, kTitleSize);
    out.WriteObjectList(items_);
}

void CReport::Serialize(ArchiveReader& in) {
    CFileHeader header;
    header.LoadExpecting(in, {CFileHeader::kMagicReports});
    const int32_t columns = in.ReadI32();
    const int32_t linesPerPage = in.ReadI32();
    const int32_t pages = in.ReadI32();
    const int32_t charset = in.ReadI32();
    bool formFeed = true;
    if (header.Version() > kLastRevisionWithoutFormFeed) formFeed = in.ReadI32() != 0;
    std::string title = in.ReadFixedText(kTitleSize);
    ArchiveClassRegistry classes;
    classes.Add<ReportItem>();
    std::vector<std::unique_ptr<ReportItem>> items = in.ReadObjectList<ReportItem>(classes, kMaxItems);

    // Nothing above changed the document; a field out of range keeps its default.
    columns_ = InPageRange(columns) ? columns : kDefaultColumns;
    linesPerPage_ = InPageRange(linesPerPage) ? linesPerPage : kDefaultLinesPerPage;
    pages_ = InPageRange(pages) ? pages : kDefaultPages;
    charset_ = charset >= 0 && charset < kCharsetCount ? charset : 0;
    formFeed_ = formFeed;
    title_ = std::move(title);
    for (auto& item : items) item->ResolveAfterLoad(dictionary_);
    // The list is searched in cell order, so a file that lost it gets it back.
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return Before(*a, *b); });
    items_ = std::move(items);
    UpdateGrid();
}

bool CReport::Load(const std::string& path) {
    if (!DocumentFile::Load(path, kMaxFileBytes, ui_, [this](ArchiveReader& in) { Serialize(in); })) return false;
    modified_ = false;
    return true;
}

bool CReport::Save(const std::string& path) {
    ArchiveWriter out;
    Serialize(out);
    if (!DocumentFile::Save(path, out, ui_)) return false;
    modified_ = false;
    return true;
}

// ---- the device

bool CReport::DownloadToDevice(const DeviceAccess& device, const ReportSlotChoice& chooseSlot) const {
    return ReportDownload(*this, device, chooseSlot).Run();
}

bool CReport::UploadFromDevice(const DeviceAccess& device, const ReportSlotChoice& chooseSlot) {
    return ReportUpload(*this, device, chooseSlot).Run();
}

}  // namespace qs
