#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sidedocs/reports/ReportDestination.h"
#include "sidedocs/reports/ReportItem.h"

namespace qs {

class ArchiveReader;
class ArchiveWriter;
class ParamDictionary;
struct DeviceAccess;
struct UiServices;

// A report definition: a page grid (columns by lines per page, one or more pages) and the
// entries placed on it, kept ordered by line and then column. It is kept in a ".RPX" file and
// sent to or read from one of the device's five report slots.
class CReport {
public:
    static constexpr int kDefaultColumns = 80;
    static constexpr int kDefaultLinesPerPage = 60;
    static constexpr int kDefaultPages = 1;
    static constexpr int kCharsetCount = 5;
    static constexpr size_t kTitleSize = 33;
    static constexpr size_t kMaxTitleLength = kTitleSize - 1;
    static constexpr const char* kNewTitle = "New Report";
    // Files of this revision and older have no form-feed field.
    static constexpr float kLastRevisionWithoutFormFeed = 7.0f;
    // Page fields a file may give; one outside 1..kMaxPageField keeps its default.
    static constexpr int kMaxPageField = 32767;
    static constexpr size_t kMaxItems = 65535;
    static constexpr size_t kMaxFileBytes = 64u << 20;

    // `dictionary` and `ui` outlive the document.
    CReport(const ParamDictionary& dictionary, const UiServices& ui);
    ~CReport();
    CReport(const CReport&) = delete;
    CReport& operator=(const CReport&) = delete;

    // Title "New Report", character set 0, form feed on, the grid from the page size.
    void OnNewDocument();

    const std::vector<std::unique_ptr<ReportItem>>& Items() const { return items_; }
    // Puts the entry after every entry of a smaller line, or of the same line and a column not
    // greater; returns it.
    ReportItem* InsertItemInOrder(std::unique_ptr<ReportItem> item);
    // Takes the entry out of the list and gives it back; null when it was not in the list.
    std::unique_ptr<ReportItem> RemoveItem(const ReportItem* item);
    // Gives up every entry (a definition read into a scratch document moves on this way).
    std::vector<std::unique_ptr<ReportItem>> ReleaseItems() { return std::move(items_); }
    // The first entry at that cell, or null.
    ReportItem* FindItemAt(int line, int column) const;

    const std::string& Title() const { return title_; }
    // At most 32 characters.
    void SetTitle(std::string_view title);
    int Columns() const { return columns_; }
    int LinesPerPage() const { return linesPerPage_; }
    int Pages() const { return pages_; }
    // Sets the page size and recomputes the grid.
    void SetPageSize(int columns, int linesPerPage, int pages);
    // The grid of all pages; its lines stop where an entry's line no longer fits the device's
    // record.
    int GridColumns() const { return gridColumns_; }
    int GridLines() const { return gridLines_; }
    bool FormFeed() const { return formFeed_; }
    void SetFormFeed(bool on) { formFeed_ = on; }
    int Charset() const { return charset_; }
    // 0-4; any other value leaves it.
    void SetCharset(int charset);

    bool IsModified() const { return modified_; }
    void SetModified(bool modified = true) { modified_ = modified; }

    // The ".RPX" file.
    void Serialize(ArchiveWriter& out) const;
    // Loads a file image; a wrong magic or a damaged file throws ArchiveError and leaves the
    // document as it was.
    void Serialize(ArchiveReader& in);
    // The file at `path`; a failure is said and gives false.
    bool Load(const std::string& path);
    // Writes through a temporary file and a rename; a failure is said and leaves the old file.
    bool Save(const std::string& path);

    // Sends the definition, through the program-data document `device` chooses, to the slot
    // `chooseSlot` gives; true when it reached the device.
    bool DownloadToDevice(const DeviceAccess& device, const ReportSlotChoice& chooseSlot) const;
    // Reads the definition of the slot `chooseSlot` gives into this document; true when it did.
    bool UploadFromDevice(const DeviceAccess& device, const ReportSlotChoice& chooseSlot);

    const ParamDictionary& Dictionary() const { return dictionary_; }

    // What an upload brought: the page size (0 keeps the document's), the entries in order and
    // the form feed. The other settings stay.
    void TakeDefinition(int columns, int linesPerPage, std::vector<std::unique_ptr<ReportItem>> items,
                        bool formFeed);

private:
    void UpdateGrid();

    const ParamDictionary& dictionary_;
    const UiServices& ui_;
    std::vector<std::unique_ptr<ReportItem>> items_;
    std::string title_;
    int columns_ = kDefaultColumns;
    int linesPerPage_ = kDefaultLinesPerPage;
    int gridColumns_ = kDefaultColumns;
    int gridLines_ = kDefaultLinesPerPage;
    int pages_ = kDefaultPages;
    bool formFeed_ = true;
    int charset_ = 0;
    bool modified_ = false;
};

}  // namespace qs
