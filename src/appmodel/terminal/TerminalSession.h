#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appmodel/terminal/CMacro.h"
#include "appmodel/terminal/TerminalExchange.h"
#include "appmodel/terminal/TerminalLog.h"
#include "appmodel/terminal/TerminalTranscript.h"

namespace qs {

class CVexa3Doc;
class ProcessLauncher;
class ProgressSink;
class TerminalHost;
struct UiServices;

// The terminal emulator without its window: what is typed into the entry (or picked from the
// canned commands, or read from a macro) is run line by line. Device commands go to the
// address of the selected arm (ADDRESS and ARM change it for the lines of a macro that
// follow); PLAY, CLS, ECHO, PROMPT, ARM, ADDRESS, DELAY, WAITFOR, LOG and EXIT are answered
// here; each line adds its transcript line, indented by the macro nesting depth. Macros run
// one line per turn of the window's event loop, so it stays responsive; their delays and
// waits pump one shared progress window whose Cancel (or Esc) stops them and every macro.
class TerminalSession {
public:
    static constexpr int kMaxDepth = 16;        // macros nested inside one another
    static constexpr int kPollMs = 200;         // between two status polls of WAITFOR
    static constexpr int kDelaySliceMs = 50;    // a DELAY sleeps this long between pumps
    static constexpr size_t kUpperCaseBelow = 8;

    static constexpr const char* kMacroTitle = "Executing macro....";
    static constexpr const char* kDelayTitle = "Executing delay....";
    static constexpr const char* kWaitTitle = "Waiting for status change";
    static constexpr const char* kUnknownFlag = "Unknown flag specified in WAITFOR command";
    static constexpr const char* kCloseLogFirst =
        "Logging is enabled. Close logfile before running macro?\n(If the macro contains log commands, select Yes "
        "will allow the macro to function as intended)";
    static constexpr const char* kLogging = "Logging... type LOG with no arguments to close log file";
    static constexpr const char* kNoLogName = "Error: Must specify log file name";
    static constexpr const char* kRunningMacro = "Running macro...";
    static constexpr const char* kMacroComplete = "Macro complete";
    static constexpr const char* kMacroAborted = "Macro aborted by user";
    static constexpr const char* kReady = "Ready";
    static constexpr const char* kArmOutOfRange = "Arm must be 0 to 6";
    static constexpr const char* kAddressOutOfRange = "Address must be 0 to 99";

    // Everything passed in outlives the session. `reportPath`: where "PT" reports go.
    TerminalSession(CVexa3Doc& doc, const UiServices& ui, TerminalHost& host, ProcessLauncher& launcher,
                    std::string reportPath = TerminalExchange::kReportName);
    // Ends every macro and the log, and says "Ready".
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // ---- from the window
    // The arm list: "Arm n" for every arm of the document with an address, the first selected.
    void Start();
    // The document's views are brought up to date: the entry and the last command are
    // forgotten, the arm list made again (its selection kept where it can be).
    void OnUpdate();
    // The entry holds `entry` now (typed, pasted or picked): a CR or LF runs the text before
    // it (when it has at least two characters) at the selected arm's address; a short text is
    // upper-cased.
    void OnEntryChanged(const std::string& entry);
    // A canned command by its menu id.
    void RunCanned(int id);
    // The next line of the running macro (TerminalHost::PostNextLine).
    void RunPostedLine();
    void SelectArm(int index);

    // ---- what it shows
    const std::string& Transcript() const { return transcript_.Text(); }
    const std::vector<std::string>& ArmList() const { return armNames_; }
    int ArmIndex() const { return armIndex_; }
    int DeviceAddress() const { return deviceAddress_; }
    const std::string& Entry() const { return entry_; }
    const std::string& CommandText() const { return command_; }
    bool MacroRunning() const { return !macros_.empty(); }
    int Depth() const { return depth_; }
    TerminalLog& Log() { return log_; }

    // Runs one line as if it came from the entry or a macro, then goes on with the macro.
    void ExecuteLine(const std::string& line);

private:
    void Interpret();
    void Play(std::string_view rest);
    void Arm(std::string_view rest);
    void Address(std::string_view rest);
    void Delay(std::string_view rest);
    void WaitFor(std::string_view rest);
    void LogStatement(std::string_view rest);
    void Exit();
    void SendToDevice();
    void ContinueMacro();
    void NextLineOfChain();
    void EndMacros();
    void AppendLocal();
    void AppendDevice();
    void Append(const std::string& line);
    // The shared progress window, made with `title` when there is none.
    ProgressSink& Progress(const char* title, bool smooth);
    void FillArms();
    int AddressOfSelectedArm() const;

    CVexa3Doc& doc_;
    const UiServices& ui_;
    TerminalHost& host_;
    TerminalLog log_;
    MacroServices macroServices_;
    TerminalExchange exchange_;
    TerminalTranscript transcript_;

    std::string entry_;
    std::string command_;
    std::string reply_;
    std::vector<std::string> armNames_;
    std::vector<int> armNumbers_;  // 1-6, beside their names
    int armIndex_ = -1;
    int deviceAddress_ = 0;

    std::vector<std::unique_ptr<CMacro>> macros_;  // the chain, innermost last
    std::optional<std::string> pending_;           // the macro's next line
    int depth_ = 0;
    std::unique_ptr<ProgressSink> progress_;
    bool executing_ = false;
    bool closing_ = false;
};

}  // namespace qs
