#pragma once
#include <cstdint>
#include <string>

#include "wire/LogRecord.h"

namespace sim {

// The frame log: one JSON object a line, written whole with one write() so a reader never sees
// half a line, e.g.
//   {"ms":12,"direction":"rx","transport":"tcp","link":1,"kind":"frame","framing":"mini",
//    "binary":false,"address":1,"hex":"0230315056205359203131310333","text":"PV SY 111","error":""}
// "text" holds the frame's bytes after the address digits (a block unescaped) with every byte
// outside printable ASCII written as \u00XX.
class FrameLog {
public:
    FrameLog() = default;
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    // Opens (truncating) the log; returns "" or the fault.
    std::string Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    void Write(const LogRecord& record, int64_t ms);

    static std::string Line(const LogRecord& record, int64_t ms);
    static std::string JsonString(std::string_view bytes);

private:
    int fd_ = -1;
};

}  // namespace sim
