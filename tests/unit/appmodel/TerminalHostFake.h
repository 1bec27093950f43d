#pragma once
// The window around a terminal session, recorded: what it was asked to show, post, close,
// open and wait for. Its pauses move a fake clock, so delays and waits take no time.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "RecordingUi.h"
#include "appmodel/terminal/TerminalHost.h"
#include "appmodel/terminal/TerminalSession.h"

namespace qs::test {

class FakeTerminalHost final : public TerminalHost {
public:
    explicit FakeTerminalHost(FakeClock& clock) : clock_(clock) {}

    void ShowEntry(const std::string& text, size_t caret) override {
        entry = text;
        this->caret = caret;
        ++entryShown;
    }
    void FocusEntry() override { ++focused; }
    void TranscriptChanged() override { ++transcriptShown; }
    void ArmsChanged() override { ++armsShown; }
    void SetHelpId(int id) override { helpIds.push_back(id); }
    std::optional<std::string> ChooseMacroFile() override {
        ++chooserShown;
        return chosenFile;
    }
    void PostNextLine() override { ++posted; }
    void CloseTerminal() override { ++closes; }
    void Pause(int ms) override {
        pausedMs += ms;
        clock_.now += ms;
        if (onPause) onPause();
    }
    void Beep() override { ++beeps; }
    void SetBusy(bool busy) override { busy ? ++busyOn : ++busyOff; }
    void OpenWithDefaultProgram(const std::string& path) override { opened.push_back(path); }

    // Types `text` a character at a time into the entry as its control holds it, each change
    // handed to the session ("\n" is Return).
    void Type(TerminalSession& session, const std::string& text) {
        for (char c : text) {
            const std::string value = entry += c;
            session.OnEntryChanged(value);
        }
    }
    // Runs the macro's posted lines until no more are posted (or `limit` of them).
    int RunPosted(TerminalSession& session, int limit = 100000) {
        int runs = 0;
        while (posted > 0 && runs < limit) {
            --posted;
            ++runs;
            session.RunPostedLine();
        }
        return runs;
    }

    std::string entry;
    size_t caret = 0;
    int entryShown = 0, focused = 0, transcriptShown = 0, armsShown = 0, chooserShown = 0, posted = 0, closes = 0;
    int beeps = 0, busyOn = 0, busyOff = 0;
    int64_t pausedMs = 0;
    std::vector<int> helpIds;
    std::optional<std::string> chosenFile;
    std::vector<std::string> opened;
    std::function<void()> onPause;

private:
    FakeClock& clock_;
};

// The transcript's lines without their CR LF.
inline std::vector<std::string> TranscriptLines(const std::string& transcript) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = transcript.find("\r\n"); end != std::string::npos; end = transcript.find("\r\n", start)) {
        lines.push_back(transcript.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A local or device line as the transcript shows it, built by hand.
inline std::string Padded(const std::string& text, size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

}  // namespace qs::test
