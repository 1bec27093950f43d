#include "sidedocs/carddb/CDatabase.h"

#include <algorithm>

#include "link/BlockReader.h"
#include "link/BlockWriter.h"
#include "link/MiniProtocol.h"
#include "link/TransferCodes.h"
#include "platform/DocumentFile.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"
#include "sidedocs/DeviceAccess.h"

namespace qs {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

TransferTexts ReadTexts() {
    TransferTexts t;
    t.title = "Reading Database...";
    t.crcMismatch = "CRC of returned card database does not match expected value.";
    t.allocation = "Unable to allocate buffer for database data";
    return t;
}

TransferTexts WriteTexts() {
    TransferTexts t;
    t.title = "Downloading Database...";
    t.sending = "Error sending database - ";
    t.final = "Error downloading database - ";
    return t;
}

}  // namespace

bool CDatabase::IsStorable(std::string_view record) {
    if (record.empty() || record.size() > kMaxRecordChars) return false;
    return record.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

int CDatabase::AddRecord(std::string_view record) {
    if (Full() || !IsStorable(record)) return 0;
    // string_view compares as unsigned bytes, as the C string comparison does.
    auto at = std::upper_bound(records_.begin(), records_.end(), record,
                               [](std::string_view a, const std::string& b) { return a < std::string_view(b); });
    records_.insert(at, std::string(record));
    byteTotal_ += static_cast<int>(record.size()) + 1;
    return Count();
}

int CDatabase::RemoveRecord(int index) {
    if (index < 0 || index >= Count()) return -1;
    const auto at = records_.begin() + index;
    byteTotal_ -= static_cast<int>(at->size()) + 1;
    records_.erase(at);
    return Count();
}

std::string CDatabase::GetField(std::string_view record, int n) {
    if (n < 0) return {};
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const size_t comma = record.find(',', start);
        if (comma == std::string_view::npos) return {};
        start = comma + 1;
    }
    std::string_view field = record.substr(start);
    field = field.substr(0, field.find(','));
    while (!field.empty() && IsBlank(field.front())) field.remove_prefix(1);
    return std::string(field);
}

void CDatabase::OnNewDocument() {
    name_ = kNewName;
    records_.clear();
    byteTotal_ = 0;
}

// ---------------------------------------------------------------- .3DB file

std::string CDatabase::SaveText() const {
    std::string text;
    text.reserve(static_cast<size_t>(byteTotal_) + records_.size());
    for (const std::string& record : records_) {
        text += record;
        text += "\r\n";
    }
    return text;
}

CardLoadReport CDatabase::LoadText(std::string_view text) {
    CardLoadReport report;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        Take(line, report);
    }
    return report;
}

bool CDatabase::Load(const std::string& path, const UiServices& ui) {
    std::string bytes;
    if (!DocumentFile::Read(path, kMaxFileBytes, bytes, ui)) return false;
    Warn(LoadText(bytes), "lines of the file were skipped: a card record is at most 255 characters long and holds "
                          "no zero byte.",
         ui);
    return true;
}

bool CDatabase::Save(const std::string& path, const UiServices& ui) const {
    return DocumentFile::Save(path, SaveText(), ui);
}

void CDatabase::Take(std::string_view text, CardLoadReport& report) {
    if (!IsStorable(text)) {
        ++report.refused;
    } else if (Full()) {
        ++report.leftOut;
    } else {
        AddRecord(text);
        ++report.added;
    }
}

void CDatabase::Warn(const CardLoadReport& report, const char* refusedWhat, const UiServices& ui) {
    if (report.refused > 0) ui.Message(std::to_string(report.refused) + " " + refusedWhat, MB_OK | MB_ICONWARNING);
    if (report.leftOut > 0) {
        ui.Message("The database holds at most 1000 cards: " + std::to_string(report.leftOut) +
                       " more were left out.",
                   MB_OK | MB_ICONWARNING);
    }
}

// ---------------------------------------------------------------- device payload

std::vector<std::string> CDatabase::PayloadItems() const {
    std::vector<std::string> items;
    items.reserve(records_.size());
    for (const std::string& record : records_) items.push_back(record + '\0');
    return items;
}

CardLoadReport CDatabase::AddFromPayload(std::span<const uint8_t> payload) {
    CardLoadReport report;
    const std::string_view all(reinterpret_cast<const char*>(payload.data()), payload.size());
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view text = all.substr(start, end - start);
        start = end + 1;
        if (text.empty()) break;  // two zero bytes in a row end the list
        Take(text, report);
    }
    return report;
}

// ---------------------------------------------------------------- transfers

bool CDatabase::DownloadToDevice(const DeviceAccess& device) const {
    const UiServices& ui = device.ui;
    if (records_.empty()) {
        ui.Message(kNothingToDownload);
        return false;
    }
    // The block transfer and the device document speak through the program's services; for
    // this transfer they are the ones handed in.
    ScopedUiServices scope(ui);
    const DeviceAccess::Link link = device.Connect(true);
    if (!link) return false;
    BlockWriter::Options options;
    options.secondFinalWait = true;
    BlockWriter writer(*link.protocol, kTransferWriteCardDatabase, WriteTexts(), options);
    if (writer.Write({}, PayloadItems()) != TransferOutcome::Done) return false;
    // The device takes the new database into use on "LO"; what it answers changes nothing here.
    link.document->SendLoCommand();
    return true;
}

bool CDatabase::UploadFromDevice(const DeviceAccess& device) {
    const UiServices& ui = device.ui;
    ScopedUiServices scope(ui);
    const DeviceAccess::Link link = device.Connect(false);
    if (!link) return false;
    std::vector<uint8_t> payload;
    {
        BlockReader reader(*link.protocol, kTransferReadCardDatabase, ReadTexts(), kMaxUploadBytes);
        if (reader.Read(payload) != TransferOutcome::Done) return false;
        // The bar is full before the records are taken; a cancel there still keeps nothing.
        ProgressSink* progress = reader.Progress();
        progress->SetPos(static_cast<int>(reader.AnnouncedLength()));
        if (!progress->PeekAndPump(true, true) || progress->Cancelled()) return false;
    }
    Warn(AddFromPayload(payload),
         "records from the device were refused: a card record is at most 255 characters long and holds no line "
         "break.",
         ui);
    return true;
}

// ---------------------------------------------------------------- find and print

int CDatabase::FindRecord(int from, int step, const std::function<bool(const std::string&)>& match) const {
    if (step != 1 && step != -1) return -1;
    for (int i = from; i >= 0 && i < Count(); i += step) {
        if (match(records_[static_cast<size_t>(i)])) return i;
    }
    return -1;
}

std::vector<CardPrintCell> CDatabase::PrintLayout() const {
    std::vector<CardPrintCell> cells;
    int page = 0;
    int line = kPrintFirstLine;
    for (const std::string& record : records_) {
        // A page is begun only for a record that is there to go on it.
        if (line > kPrintLastLine) {
            ++page;
            line = 0;
        }
        for (int column = 0; column < 4; ++column) cells.push_back({page, line, column, GetField(record, column)});
        ++line;
    }
    return cells;
}

}  // namespace qs
