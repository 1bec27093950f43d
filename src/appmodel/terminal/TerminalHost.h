#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace qs {

// What the terminal session asks of the window it runs in. Texts are in the document's code
// page; the window converts them where it shows or reads them.
class TerminalHost {
public:
    virtual ~TerminalHost() = default;

    // The entry shows `text` with the caret at `caret`, without that counting as a change.
    virtual void ShowEntry(const std::string& text, size_t caret) = 0;
    // The entry takes the focus.
    virtual void FocusEntry() = 0;
    // The transcript was appended to, trimmed or cleared: show it again with the caret at its end.
    virtual void TranscriptChanged() = 0;
    // The arm list was filled again, or selects another entry.
    virtual void ArmsChanged() = 0;
    // Context help for what the entry holds.
    virtual void SetHelpId(int id) = 0;
    // The file of a PLAY without one: the open-file dialog for macros; nullopt when cancelled.
    virtual std::optional<std::string> ChooseMacroFile() = 0;
    // Calls TerminalSession::RunPostedLine once the window has had its turn at its events.
    virtual void PostNextLine() = 0;
    // Closes the terminal window once the line that asked for it has returned.
    virtual void CloseTerminal() = 0;
    // Waits about `ms` without dispatching anything: input waits in the queue for the next pump.
    virtual void Pause(int ms) = 0;
    virtual void Beep() = 0;
    // The wait cursor, while a command is on the wire.
    virtual void SetBusy(bool busy) = 0;
    // Opens a file with the desktop's program for files of its kind.
    virtual void OpenWithDefaultProgram(const std::string& path) = 0;
};

}  // namespace qs
