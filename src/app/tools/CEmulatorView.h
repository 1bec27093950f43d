#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <wx/docview.h>

#include "appmodel/terminal/TerminalHost.h"

class wxDocManager;
class wxChoice;
class wxTextCtrl;

namespace qs {

class CTerminalFrame;
class CVexa3WxDoc;
class TerminalSession;

// The terminal emulator on a program-data document: the view of the terminal template. It
// shows the session's entry, transcript and arm list in its frame and passes on what the user
// types, picks and chooses; texts cross between the session and the widgets through the
// document's code page. There is at most one in the program.
class CEmulatorView : public wxView, public TerminalHost {
    wxDECLARE_DYNAMIC_CLASS(CEmulatorView);

public:
    static constexpr const char* kTitlePrefix = "Terminal Emulator - ";
    static constexpr int kHelpId = 130;

    CEmulatorView();
    ~CEmulatorView() override;

    // The terminal of the program brought to the front (whatever document it shows), or, when
    // there is none, made on `doc` through the terminal template. False when none could be.
    static bool OpenOrActivate(CVexa3WxDoc& doc);
    // The open terminal among the manager's documents, if any.
    static CEmulatorView* FindOpen(wxDocManager& manager);

    bool OnCreate(wxDocument* doc, long flags) override;
    // Title, arm list, transcript, help and focus, once, when the window is first shown.
    void InitialUpdate();
    void OnUpdate(wxView* sender, wxObject* hint) override;
    void OnDraw(wxDC*) override {}
    bool OnClose(bool deleteWindow) override;
    void OnChangeFilename() override;

    TerminalSession& Session() const { return *session_; }
    CTerminalFrame* Frame() const;
    wxTextCtrl* Entry() const;
    wxTextCtrl* Transcript() const;
    wxChoice* ArmList() const;
    wxString Caption() const;

    // ---- TerminalHost
    void ShowEntry(const std::string& text, size_t caret) override;
    void FocusEntry() override;
    void TranscriptChanged() override;
    void ArmsChanged() override;
    void SetHelpId(int id) override;
    std::optional<std::string> ChooseMacroFile() override;
    void PostNextLine() override;
    void CloseTerminal() override;
    void Pause(int ms) override;
    void Beep() override;
    void SetBusy(bool busy) override;
    void OpenWithDefaultProgram(const std::string& path) override;

private:
    void BindEvents();
    // Runs `action` once the events in hand are done, unless the view has gone by then.
    void Later(std::function<void()> action);
    void OnEntryText();
    int CodePage() const;
    CVexa3WxDoc* Doc() const;

    std::unique_ptr<TerminalSession> session_;
    bool initialised_ = false;
    bool entryPending_ = false;
    int busy_ = 0;
};

}  // namespace qs
