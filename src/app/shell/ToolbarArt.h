#pragma once
#include <wx/bitmap.h>

namespace qs {

// The pictures of the toolbar buttons, drawn at start-up: a colour set, and a black-and-white
// set for screens and eyes that read plain shapes better.
enum class ToolIcon {
    kNew,
    kOpen,
    kSave,
    kCut,
    kCopy,
    kPaste,
    kReadSelection,
    kReadAll,
    kDumpSelection,
    kDumpAll,
    kNewWindow,
    kCascade,
    kTileHorizontally,
    kTileVertically,
    kGoOnline,
    kGoOffline,
};

// A square picture of `size` pixels on a transparent background; the black-and-white set uses
// only black and white.
wxBitmap DrawToolIcon(ToolIcon icon, bool colour, int size = 16);

}  // namespace qs
