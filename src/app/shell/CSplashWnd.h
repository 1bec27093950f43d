#pragma once
#include <wx/frame.h>
#include <wx/timer.h>

namespace qs {

// The window shown over the main frame while Quillset starts: the program's name, its revision
// and notice. It stays on top without taking the focus and closes itself after three seconds.
class CSplashWnd : public wxFrame {
public:
    static constexpr int kTimerId = 7734;
    static constexpr int kShowMs = 3000;
    static constexpr const char* kTitle = "Starting Quillset";

    // Shows itself at once, centred over `parent`, and deletes itself when its time is up.
    explicit CSplashWnd(wxWindow* parent);

    // The splash window now up, if any.
    static CSplashWnd* Current();

private:
    void OnTimer(wxTimerEvent& event);

    wxTimer timer_;
};

}  // namespace qs
