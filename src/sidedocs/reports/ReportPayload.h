#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sidedocs/reports/ReportItem.h"

namespace qs {

class ParamDictionary;

// The data of a report definition as it travels in both directions: a 50-byte header record
// (record number 1, lines per page, columns), one 50-byte record per entry in list order, a
// terminating record of zeros, and the texts of the text entries in list order, each with its
// zero byte. A download adds one zero byte at the end.
class ReportPayload {
public:
    static constexpr size_t kRecordSize = ReportItem::kDeviceRecordSize;
    // Lines per page and columns are one byte each on the device.
    static constexpr int kMaxPageField = 255;
    using Record = ReportItem::DeviceRecord;

    static Record HeaderRecord(int linesPerPage, int columns);

    // What a download sends, frame by frame.
    struct Outgoing {
        Record header{};
        std::vector<Record> records;
        Record terminator{};
        std::vector<std::string> texts;  // each with its zero byte
        // Every byte the CRC-32 covers: the records, the texts and the end byte.
        uint64_t Length() const;
    };
    // Nullopt when an entry cannot be sent (ReportItem::CanSend) or a page field passes 255.
    static std::optional<Outgoing> Build(std::span<const ReportItem* const> items, int linesPerPage, int columns,
                                         const ParamDictionary& dictionary);

    // What an upload brought. Zero lines per page or columns mean the device gave none.
    struct Incoming {
        int linesPerPage = 0;
        int columns = 0;
        std::vector<std::unique_ptr<ReportItem>> items;  // ordered by line, then column
        bool formFeed = false;
        int unknownRecords = 0;  // records of kinds this program does not know, left out
    };
    // Nullopt for data shorter than the header record. The record walk stops at the
    // terminating record or where the data end; texts the data lack stay empty.
    static std::optional<Incoming> Parse(std::span<const uint8_t> data, const ParamDictionary& dictionary);
};

}  // namespace qs
