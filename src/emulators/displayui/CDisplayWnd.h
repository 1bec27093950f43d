#pragma once
#include <array>
#include <cstdint>

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/window.h>

#include "emulators/display/Framebuffer.h"

namespace qs::displayui {

// The child window that shows one emulated LCD: the display engine draws into a 256 x 64
// framebuffer of palette indexes, and this window shows its first 248 columns pixel for pixel
// in the display's four colours. Painting copies one finished bitmap and never erases first,
// so the LCD does not flicker.
class CDisplayWnd : public wxWindow {
public:
    static constexpr int kShownWidth = 248;
    static constexpr int kShownHeight = display::Framebuffer::kHeight;
    // RGB of palette colours 0-3.
    static constexpr std::array<std::array<uint8_t, 3>, 4> kPalette{{{128, 192, 80}, {153, 204, 102}, {170, 170, 170}, {85, 85, 85}}};

    // `source` must outlive the window.
    CDisplayWnd(wxWindow* parent, const wxString& title, const wxPoint& position, const display::Framebuffer& source);

    // Takes the framebuffer's pixels and repaints without erasing.
    void ShowFramebuffer();
    // The framebuffer-to-bitmap step alone.
    void TakeFramebuffer();

    const wxBitmap& Bitmap() const { return bitmap_; }
    const display::Framebuffer& Source() const { return source_; }

private:
    void OnPaint(wxPaintEvent& event);

    const display::Framebuffer& source_;
    wxImage image_;
    wxBitmap bitmap_;
};

}  // namespace qs::displayui
