#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

class ProcessLauncher;
class TerminalLog;

// What the statements of a macro act on: the terminal's log and the programs SHELL runs.
struct MacroServices {
    TerminalLog& log;
    ProcessLauncher& launcher;
};

// One macro file: its lines, handed to the terminal one at a time. On the way it carries out
// the statements that belong to the macro itself (GOTO, LOG, SHELL), passes over IF, LET,
// ENDIF and label lines, and says why it ended. A PLAY inside a macro makes an inner macro
// that knows its outer one.
class CMacro {
public:
    enum State : int { kNotLoaded = 0, kLoaded = 1, kRunning = 2, kRecording = 3, kFinished = 4 };
    enum ErrorCode : int {
        kNoError = 0,
        kOutOfMemory = 1,
        kArgumentOutOfRange = 2,
        kMacroRunning = 3,
        kWhileRecording = 4,
        kFileNotFound = 5,
        kCannotCreate = 6,
        kLabelNotDefined = 7,
        kEndOfFile = 8,
        kLastError = 9,
    };
    // Larger files are refused as "Out of memory".
    static constexpr size_t kMaxFileBytes = 1u << 20;
    // Jumps one step may take before a line goes to the terminal: a loop of statements alone
    // would otherwise hold the program for ever. The macro ends with "Command argument out of
    // range".
    static constexpr int kMaxJumpsPerStep = 10000;

    // Loads the file (see FindFile) and checks the state; Error() says whether it worked.
    CMacro(std::string_view fileName, CMacro* outer, MacroServices services);
    CMacro(const CMacro&) = delete;
    CMacro& operator=(const CMacro&) = delete;

    // The next line for the terminal, after carrying out the statements before it. nullopt
    // when there is nothing to send this step: the macro has finished (end of file, an
    // undefined label), or a LOG could not open its file (the macro goes on).
    std::optional<std::string> GetNextLine();
    // 1: a statement, carried out; 0: a line for the terminal; -1: a statement that failed.
    int ExecuteStatement(const std::string& line);
    std::string GetErrorText() const { return ErrorText(error_); }
    static const char* ErrorText(int code);
    // After loading: a loaded macro starts running. False (with the error set) when the macro
    // cannot run: not loaded, recording, or finished.
    bool CheckState();

    State GetState() const { return state_; }
    int Error() const { return error_; }
    CMacro* Outer() const { return outer_; }
    // The name it was played by, and the file that name found.
    const std::string& Name() const { return name_; }
    const std::string& Path() const { return path_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    size_t NextLineIndex() const { return next_; }

    // The file a macro name finds: the name itself; when its last path component has no '.',
    // the name with ".MAC", then ".mac"; failing those, a file of its folder whose name is one
    // of them in another case.
    static std::optional<std::string> FindFile(std::string_view name);
    // Lines of a file's bytes, CR LF and LF alike.
    static std::vector<std::string> SplitLines(std::string_view bytes);

private:
    void Load();
    // Moves to the line after "<label>:"; false after setting the error when there is none.
    bool Jump(std::string_view label);
    void RunShell(const std::string& command);

    MacroServices services_;
    std::string name_;
    std::string path_;
    CMacro* outer_;
    State state_ = kNotLoaded;
    int error_ = kNoError;
    size_t next_ = 0;
    std::vector<std::string> lines_;
};

}  // namespace qs
