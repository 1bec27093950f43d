#pragma once
#include <ctime>
#include <string>
#include <string_view>

namespace qs {

// The terminal's log file: every transcript line, every SHELL line of a macro and every byte
// of a captured report while it is open. It is written as it goes (not saved at the end), so
// a SHELL command of the same macro sees what was logged before it.
class TerminalLog {
public:
    TerminalLog() = default;
    ~TerminalLog() { Close(); }
    TerminalLog(const TerminalLog&) = delete;
    TerminalLog& operator=(const TerminalLog&) = delete;

    // Creates (or empties) the file named by `text` (blanks around it dropped) and writes
    // "Log started <time>" with CR LF. 1 on success, -1 when the name is empty or the file
    // cannot be made.
    int Open(std::string_view text, std::time_t now = std::time(nullptr));
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // The bytes as they are (lines bring their own CR LF); nothing while closed.
    void Write(std::string_view bytes);

    // "Log started Friday, March 01, 2024 09:05:07\r\n" in local time, in English whatever the
    // desktop's language.
    static std::string StartedLine(std::time_t now);

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace qs
