#pragma once
#include <wx/event.h>
#include <wx/window.h>

namespace qs::test {

// Sends what the toolkit sends for one press and release of a key to `window`; how many of
// the four events the program took.
inline int PressAndRelease(wxWindow* window, int keyCode, int modifiers = wxMOD_NONE) {
    int taken = 0;
    for (wxEventType type : {wxEVT_CHAR_HOOK, wxEVT_KEY_DOWN, wxEVT_CHAR, wxEVT_KEY_UP}) {
        wxKeyEvent key(type);
        key.m_keyCode = keyCode;
        key.m_altDown = (modifiers & wxMOD_ALT) != 0;
        key.SetEventObject(window);
        taken += window->GetEventHandler()->ProcessEvent(key) ? 1 : 0;
    }
    return taken;
}

}  // namespace qs::test
