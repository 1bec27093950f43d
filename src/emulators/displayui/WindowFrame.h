#pragma once
#include <wx/toplevel.h>

namespace qs::displayui {

// The window manager's frame around a faceplate, and the rounded outline it takes when the
// frame is hidden. Where the toolkit offers no way to drop the frame of a window already shown,
// only the outline changes.
class WindowFrame {
public:
    // Hides the frame and rounds the window's corners with `corner` pixels, or shows the frame
    // again with square corners. False when the frame itself could not be changed.
    static bool SetHidden(wxTopLevelWindow& window, bool hidden, int corner);
};

}  // namespace qs::displayui
