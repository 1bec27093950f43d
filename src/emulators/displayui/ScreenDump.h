#pragma once
#include <string>

#include <wx/gdicmn.h>

#include "emulators/display/Framebuffer.h"

namespace qs::displayui {

// For tests: when the environment names a folder in kVariable, an emulator writes each
// screen's framebuffer there as it ends, so a test can compare pixels without reading the
// screen. The file "screen<N>.lcd" holds one text line "LCD <width> <height> <x> <y>" (x and y:
// where the screen's display window sat on the desktop) and then the palette index of every
// pixel, row by row.
class ScreenDump {
public:
    static constexpr const char* kVariable = "DURAVANE_SCREEN_DUMP";

    // The folder asked for, or empty.
    static std::string Folder();
    static bool Write(const std::string& folder, int screen, const display::Framebuffer& framebuffer,
                      const wxPoint& onDesktop);
};

}  // namespace qs::displayui
