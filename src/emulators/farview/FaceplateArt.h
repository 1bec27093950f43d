#pragma once
#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/iconbndl.h>

#include "emulators/farview/FaceplateLayout.h"
#include "emulators/farview/core/FaceplateKeys.h"

namespace qs::farview {

// Farview's artwork, drawn by the program: the faceplate behind the keys and LCDs, the key
// faces and the program's icon.
class FaceplateArt {
public:
    static void PaintPanel(wxDC& dc, const FaceplateLayout& layout);
    static wxBitmap KeyFace(const FaceplateKey& key, const wxSize& size, bool pressed);
    static wxIconBundle Icons();
};

}  // namespace qs::farview
