#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

struct DeviceAccess;
struct UiServices;

// What taking records from a file or from the device came to: records added, texts refused as
// records (too long, or holding a line break or a zero byte), and records left out because the
// database was full.
struct CardLoadReport {
    int added = 0;
    int refused = 0;
    int leftOut = 0;
};

// One text of a printout: page (from 0), line in text heights from the top of the page, and
// column (0-3, each 14 widths of "M" wide).
struct CardPrintCell {
    int page = 0;
    int line = 0;
    int column = 0;
    std::string text;
};

// The driver-card database kept on the PC: card records of five comma-separated fields (the card
// key as upper-case hexadecimal, three free fields, a four-digit PIN), always in ascending byte
// order, at most 1000 of them. It is kept in a ".3DB" file of CR LF lines, read from the
// controller (transfer 0x0418) and written to it (0x0419), and printed.
class CDatabase {
public:
    static constexpr int kMaxRecords = 1000;
    static constexpr size_t kMaxRecordChars = 255;
    // The largest data set the controller's database may announce on a read.
    static constexpr size_t kMaxUploadBytes = 65000;
    // Largest ".3DB" file read: far more than 1000 records of 255 characters.
    static constexpr size_t kMaxFileBytes = 16u << 20;
    static constexpr const char* kNewName = "New Database";
    static constexpr const char* kNothingToDownload = "No entries defined... nothing to download";

    // Printout: records from line 4 of the first page and line 0 of the others, no lower
    // than line 55; columns 14 widths of "M" apart.
    static constexpr int kPrintFirstLine = 4;
    static constexpr int kPrintLastLine = 55;
    static constexpr int kPrintColumnWidth = 14;

    int Count() const { return static_cast<int>(records_.size()); }
    bool Full() const { return Count() >= kMaxRecords; }
    const std::vector<std::string>& Records() const { return records_; }
    // Record `index` (0 <= index < Count()).
    const std::string& Record(int index) const { return records_.at(static_cast<size_t>(index)); }
    // The payload bytes of the records without the list's closing zero byte.
    int ByteTotal() const { return byteTotal_; }
    const std::string& Name() const { return name_; }

    // A text that can be stored: 1 to 255 characters, no CR, LF or zero byte (a record holding
    // one could not be written back to the file or sent as it is).
    static bool IsStorable(std::string_view record);
    // Inserts after every record that does not compare greater byte by byte, so equal records
    // keep their order. Returns the new count, or 0 when nothing was added (full, or not
    // storable).
    int AddRecord(std::string_view record);
    // Removes record `index`; the new count, or -1 (nothing removed) for an index that names
    // no record.
    int RemoveRecord(int index);
    // Field `n` of a record: after the n-th comma up to the next (or the end), leading blanks
    // removed; empty when the record has fewer than n commas.
    static std::string GetField(std::string_view record, int n);
    // A new document: named "New Database", no records.
    void OnNewDocument();

    // ".3DB" text: every record followed by CR LF.
    std::string SaveText() const;
    // Adds the lines of a ".3DB" text: lines end at CR or LF (or at the end of the text), empty
    // ones are skipped, and so are (counted as refused) lines longer than 255 characters and
    // lines holding a zero byte.
    CardLoadReport LoadText(std::string_view text);
    // The file at `path`, added to this (empty) document; what was skipped or left out is said
    // once. False, after saying why, when the file cannot be read.
    bool Load(const std::string& path, const UiServices& ui);
    // Written through a temporary file and a rename; a failure is said and leaves the old file.
    bool Save(const std::string& path, const UiServices& ui) const;

    // The device payload as items: each record with its zero byte (the closing zero byte of the
    // list is the writer's).
    std::vector<std::string> PayloadItems() const;
    // Adds the zero-terminated texts of a payload read from the device, up to an empty text or
    // the end.
    CardLoadReport AddFromPayload(std::span<const uint8_t> payload);

    // Writes every record to the controller through the program-data document `device` chooses,
    // which must be online; the document sends "LO" after success. False after a failure
    // (said) or a cancel (silent); the database is never changed.
    bool DownloadToDevice(const DeviceAccess& device) const;
    // Reads the controller's database into this (empty) document; nothing is added unless the
    // whole set arrived with a matching CRC-32.
    bool UploadFromDevice(const DeviceAccess& device);

    // The first record from `from` on, stepping by `step` (1 or -1), that `match` accepts;
    // -1 when none does before the first or last record, or `from` names no record.
    int FindRecord(int from, int step, const std::function<bool(const std::string&)>& match) const;

    // The key and the three fields of every record (the PIN is not printed), laid out in pages.
    std::vector<CardPrintCell> PrintLayout() const;

private:
    // Adds a text read from a file or the device, counting it in `report`.
    void Take(std::string_view text, CardLoadReport& report);
    // Says what a load or an upload skipped, in one box each.
    static void Warn(const CardLoadReport& report, const char* refusedWhat, const UiServices& ui);

    std::vector<std::string> records_;
    std::string name_;
    int byteTotal_ = 0;
};

}  // namespace qs
