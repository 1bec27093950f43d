#pragma once
#include <vector>

#include <wx/gdicmn.h>
#include <wx/string.h>

namespace qs::displayui {

// Where things sit on an emulator's faceplate, in template coordinates: Farview's normal one
// (one LCD) and four-display one (two LCDs, keypad beside them), and the operator panel's (two
// LCDs, keypad below them).
struct FaceplateLayout {
    wxString title;
    wxString subtitle;              // lettered under the product name
    wxSize templateSize;
    std::vector<wxPoint> displays;  // the display windows, 248 x 64 each
    int corner = 0;                 // the rounded outline when the frame is hidden
    wxPoint keypad;                 // top left of the keypad

    static constexpr int kKeyWidth = 72;
    static constexpr int kKeyHeight = 48;
    static constexpr int kKeyGap = 14;
    static constexpr int kBlockGap = 26;  // between the digits and the function keys

    static const FaceplateLayout& Normal();
    static const FaceplateLayout& Quad();
    static const FaceplateLayout& Panel();

    // The rectangle of a key button by its id (1000-1019).
    wxRect KeyRect(int id) const;
    // The whole keypad.
    wxRect KeypadRect() const;
};

}  // namespace qs::displayui
