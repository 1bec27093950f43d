#include "app/common/CSearchBox.h"

namespace qs {

namespace {
bool IsEnter(const wxKeyEvent& event) {
    return event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER;
}
}  // namespace

CSearchBox::CSearchBox(wxWindow* parent, wxWindowID id)
    : wxComboBox(parent, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                 wxCB_DROPDOWN | wxTE_PROCESS_ENTER) {
    Bind(wxEVT_KEY_DOWN, &CSearchBox::OnKeyDown, this);
    Bind(wxEVT_KEY_UP, &CSearchBox::OnKeyUp, this);
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        enterDown_ = false;  // the key-up goes elsewhere now
        event.Skip();
    });
    // Enter is handled on key-down; its text-enter event must not reach the dialog either.
    Bind(wxEVT_TEXT_ENTER, [](wxCommandEvent&) {});
}

void CSearchBox::AddToHistory() {
    const wxString text = GetValue();
    Insert(text, 0);
    SetSelection(0);
    while (GetCount() > kMaxHistory) Delete(GetCount() - 1);
}

void CSearchBox::OnKeyDown(wxKeyEvent& event) {
    if (!IsEnter(event)) {
        event.Skip();
        return;
    }
    // A held key repeats its key-down without key-ups in between. (wxGTK leaves the event's
    // own repeat flag unset, so it cannot be asked.)
    if (enterDown_) return;  // swallowed
    enterDown_ = true;
    AddToHistory();
}

void CSearchBox::OnKeyUp(wxKeyEvent& event) {
    if (IsEnter(event)) enterDown_ = false;
    event.Skip();
}

}  // namespace qs
