#pragma once
#include "app/common/StandardDialog.h"
#include <wx/event.h>
#include <wx/weakref.h>

class wxButton;
class wxCheckBox;
class wxRadioButton;

namespace qs {

class CSearchBox;
class FindRequestEvent;

// What the find dialog asks its owner to do.
enum FindRequest : int {
    kFindOpened = 1,      // the dialog exists (the owner may keep it)
    kFindFromStart = 2,   // "&Find" with "&Find From Cursor" off
    kFindNext = 3,        // "Find &Next": go on after the last match
    kFindFromCursor = 4,  // "&Find" with "&Find From Cursor" on
};

wxDECLARE_EVENT(wxEVT_QS_FIND, FindRequestEvent);

// The modeless text search shared by the list editors. It posts its requests to the owner as
// wxEVT_QS_FIND events; the owner decides what each does with the text, the direction and
// the case setting, and calls MatchText for each candidate. The owner destroys the dialog.
class CFindDialog : public StandardDialog {
public:
    // Creates the (hidden) window and posts kFindOpened to the owner.
    explicit CFindDialog(wxWindow* owner);

    // Whether `text` contains the search text, without regard to case when "&Ignore Case" was
    // on at the last "&Find" or "Find &Next".
    bool MatchText(const wxString& text) const;

    wxString searchText;
    wxString upperSearchText;  // made when the controls are read
    bool ignoreCase = false;
    bool fromCursor = false;
    int request = 0;    // last request sent
    int direction = 0;  // 0 forward, 1 backward

    CSearchBox* SearchBox() const { return searchBox_; }
    wxButton* FindButton() const { return find_; }
    wxButton* FindNextButton() const { return findNext_; }
    wxCheckBox* IgnoreCaseBox() const { return ignoreCase_; }
    wxCheckBox* FromCursorBox() const { return fromCursor_; }
    wxRadioButton* ForwardButton() const { return forward_; }
    wxRadioButton* BackwardButton() const { return backward_; }

private:
    void ReadControls();
    void Post(int code);
    void OnFind();
    void OnFindNext();
    void OnEditChange();

    wxWeakRef<wxWindow> owner_;
    CSearchBox* searchBox_ = nullptr;
    wxButton* find_ = nullptr;
    wxButton* findNext_ = nullptr;
    wxCheckBox* ignoreCase_ = nullptr;
    wxCheckBox* fromCursor_ = nullptr;
    wxRadioButton* forward_ = nullptr;
    wxRadioButton* backward_ = nullptr;
};

// One request from a find dialog. Requests are queued, so the dialog may be gone by the time
// one is handled: Dialog() is then null and the owner ignores the request.
class FindRequestEvent : public wxEvent {
public:
    FindRequestEvent(int request, CFindDialog* dialog)
        : wxEvent(dialog ? dialog->GetId() : wxID_ANY, wxEVT_QS_FIND), request_(request), dialog_(dialog) {}

    int Request() const { return request_; }
    CFindDialog* Dialog() const { return dialog_.get(); }

    wxEvent* Clone() const override { return new FindRequestEvent(*this); }

private:
    int request_;
    wxWeakRef<CFindDialog> dialog_;
};

}  // namespace qs
