#pragma once
#include <wx/docmdi.h>

class wxChoice;
class wxMenu;
class wxMenuItem;
class wxTextCtrl;

namespace qs {

// The window of the terminal emulator: a child frame of fixed size holding the entry (a
// multi-line edit, so Return arrives in its text), the arm list and the read-only transcript.
// While it is the active window the main menu bar carries its "&Commands" menu of canned
// device commands and an Undo item in Edit. F4 picks the status bitmap. Its view answers the
// commands (the document manager hands them to the view before the frame sees them).
class CTerminalFrame : public wxDocMDIChildFrame {
public:
    static constexpr const char* kMenuTitle = "&Commands";
    static constexpr int kTranscriptColumns = 84;
    static constexpr int kTranscriptLines = 24;

    CTerminalFrame(wxDocument* doc, wxView* view, wxMDIParentFrame* parent);
    ~CTerminalFrame() override;

    wxTextCtrl* Entry() const { return entry_; }
    wxTextCtrl* Transcript() const { return transcript_; }
    wxChoice* ArmList() const { return arms_; }
    // The canned commands as a menu: a submenu per group.
    static wxMenu* MakeCommandsMenu();
    // Whether the main menu bar carries this window's menu now.
    bool MenusShown() const { return commandsMenu_ != nullptr; }

    // Cut, Copy, Paste and Undo (by their command ids) on the focused text control of this
    // window: whether they can be done, and doing them. False for other ids and when the focus
    // is elsewhere.
    bool CanEdit(int id) const;
    bool Edit(int id);

private:
    void BuildForm();
    void ShowMenus(bool show);
    wxTextCtrl* FocusedText() const;

    wxTextCtrl* entry_ = nullptr;
    wxTextCtrl* transcript_ = nullptr;
    wxChoice* arms_ = nullptr;
    wxMenu* commandsMenu_ = nullptr;  // in the main menu bar while shown
    wxMenuItem* undoItem_ = nullptr;
    wxMenuItem* undoSeparator_ = nullptr;
};

}  // namespace qs
