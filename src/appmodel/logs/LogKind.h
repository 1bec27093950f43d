#pragma once
#include <cstdint>
#include <string>

namespace qs {

// The three logs the device keeps.
enum class LogKind { Transaction, Event, Audit };

// What tells one log from another: its transfer codes and the words the user sees.
struct LogKindTexts {
    uint16_t rangeCode;         // first or last number
    uint16_t entryCode;         // one entry, or one part of one transaction
    const char* fileSuffix;     // after the document's title in the proposed file name
    const char* dialogTitle;    // of the Save As dialog
    const char* progressTitle;
    const char* countLead;      // the progress text is lead, count, tail
    const char* countTail;
    const char* noEntries;      // nothing to download
};

const LogKindTexts& TextsOf(LogKind kind);

// "Reading 3 transactions" and the like.
std::string CountText(LogKind kind, int64_t count);

// The file name proposed for a log: the document's title, cut before its last '.' unless that
// is its first character, then the log's suffix ("Rack 4.D3X" -> "Rack 4-TransLog.txt").
std::string ProposedLogFileName(const std::string& documentTitle, LogKind kind);

// The Save As dialog of a download: what it proposes and how it is titled. The chosen name gets
// ".txt" when it has no extension of its own.
struct LogFileChoice {
    static constexpr const char* kDefaultExtension = ".txt";
    static constexpr const char* kFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*||";

    std::string proposedName;
    std::string title;

    // `path` with the default extension added when its file name has none.
    static std::string WithDefaultExtension(const std::string& path);
};

}  // namespace qs
