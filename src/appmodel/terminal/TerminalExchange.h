#pragma once
#include <cstddef>
#include <string>

namespace qs {

class CVexa3Doc;
class ComStream;
class TerminalHost;
class TerminalLog;
struct UiServices;

// One command of the terminal on the document's link and its reply; after a "PT" command, the
// report the device prints to the host, captured into "REPORT.TXT" and the log.
class TerminalExchange {
public:
    enum class Outcome {
        kFailed,    // nothing usable came back (said in a box, or in Reply() while a macro runs)
        kRejected,  // Reply() is "NOnn - <text of the code>"
        kAnswered,  // Reply() is the device's text
    };

    static constexpr size_t kMaxCommand = 1024;
    // A report longer than this is cut: the device is printing without end.
    static constexpr size_t kMaxReport = 1u << 20;
    static constexpr size_t kWriteChunk = 4096;
    static constexpr const char* kReportName = "REPORT.TXT";
    static constexpr const char* kNotConfigured =
        "Communications Not Yet configured.\n              \t\t\tClose Terminal Emulator and select 'Options|Options "
        "for this Document...'";
    static constexpr const char* kCannotOpenReport = "Unable to open file REPORT.TXT to store response... aborting";
    static constexpr const char* kCapturing = "Capturing report....";
    static constexpr const char* kTooLong = "Not sent: longer than 1024 characters";
    static constexpr const char* kBadCharacters = "Not sent: holds STX, ETX, CR or LF";
    static constexpr const char* kOtherCommand = "Not sent: another device command is running";

    // `reportPath`: where a "PT" report goes (by default REPORT.TXT in the current folder).
    TerminalExchange(CVexa3Doc& doc, const UiServices& ui, TerminalHost& host, TerminalLog& log,
                     std::string reportPath = kReportName);

    // Sends `command` to `address` and reads the reply. `quiet`: a failed read is not shown in
    // a box (a macro runs and goes on) but named in Reply(). A command that cannot be framed
    // is not sent, and Reply() says why.
    Outcome Send(const std::string& command, int address, bool quiet);
    const std::string& Reply() const { return reply_; }
    const std::string& ReportPath() const { return reportPath_; }

private:
    void CaptureReport(ComStream& port);

    CVexa3Doc& doc_;
    const UiServices& ui_;
    TerminalHost& host_;
    TerminalLog& log_;
    std::string reportPath_;
    std::string reply_;
};

}  // namespace qs
