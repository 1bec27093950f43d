#pragma once
// Drives dialogs the way a user's clicks and choices reach them: by their events, so the
// dialog's own handlers run. Nothing here waits or shows a modal loop.
#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

namespace qs::test {

inline void Click(wxWindow* button) {
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

inline void ClickOk(wxDialog& dialog) { Click(dialog.FindWindow(wxID_OK)); }

inline void Choose(wxChoice* list, int row) {
    list->SetSelection(row);
    wxCommandEvent event(wxEVT_CHOICE, list->GetId());
    event.SetEventObject(list);
    event.SetInt(row);
    list->GetEventHandler()->ProcessEvent(event);
}

// Typing: the control's text changes and it counts as edited by the user.
inline void Type(wxTextCtrl* field, const wxString& text) {
    field->SetValue(text);
    field->MarkDirty();
}

inline void RunPendingEvents() { wxTheApp->ProcessPendingEvents(); }

}  // namespace qs::test
