#pragma once
#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/iconbndl.h>

#include "emulators/displayui/FaceplateLayout.h"
#include "emulators/display/FaceplateKeys.h"

namespace qs::displayui {

using display::FaceplateKey;

// The emulators' artwork, drawn by the program: the faceplate behind the keys and LCDs, the key
// faces and the programs' icon.
class FaceplateArt {
public:
    static void PaintPanel(wxDC& dc, const FaceplateLayout& layout);
    static wxBitmap KeyFace(const FaceplateKey& key, const wxSize& size, bool pressed);
    static wxIconBundle Icons();
};

}  // namespace qs::displayui
