#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include "GuiPump.h"
#include "emulators/displayui/CDisplayWnd.h"

namespace qs::displayui {
namespace {

wxColour PaletteColour(int index) {
    const auto& rgb = CDisplayWnd::kPalette[static_cast<size_t>(index)];
    return {rgb[0], rgb[1], rgb[2]};
}

TEST(CDisplayWndPaint, EveryPixelThroughThePaletteOneToOne) {
    display::Framebuffer fb;
    for (int y = 0; y < display::Framebuffer::kHeight; ++y) {
        for (int x = 0; x < display::Framebuffer::kWidth; ++x) fb.SetPixel(x, y, (x / 3 + y) % 4);
    }
    auto* frame = new wxFrame(nullptr, wxID_ANY, "LCD");
    // On a panel: a frame's only child would be stretched to fill it.
    auto* lcd = new CDisplayWnd(new wxPanel(frame), "Display Emulation", wxPoint(10, 20), fb);
    frame->Show();
    qs::test::PumpFor(30);

    EXPECT_EQ(lcd->GetSize(), wxSize(248, 64)) << "columns 248-255 are not shown";
    EXPECT_EQ(lcd->GetPosition(), wxPoint(10, 20));
    EXPECT_EQ(lcd->GetLabel(), "Display Emulation");
    EXPECT_EQ(lcd->GetBackgroundStyle(), wxBG_STYLE_PAINT) << "never erased before a paint";
    const wxImage first = lcd->Bitmap().ConvertToImage();
    ASSERT_EQ(first.GetSize(), wxSize(256, 64));
    int wrong = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 256; ++x) {
            const wxColour want = PaletteColour(fb.Pixel(x, y));
            wrong += first.GetRed(x, y) != want.Red() || first.GetGreen(x, y) != want.Green() ||
                     first.GetBlue(x, y) != want.Blue();
        }
    }
    EXPECT_EQ(wrong, 0);

    // The window shows the framebuffer as it is when told, not before.
    fb.Clear(3);
    EXPECT_EQ(lcd->Bitmap().ConvertToImage().GetRed(0, 0), first.GetRed(0, 0));
    lcd->ShowFramebuffer();
    const wxImage second = lcd->Bitmap().ConvertToImage();
    EXPECT_EQ(wxColour(second.GetRed(200, 40), second.GetGreen(200, 40), second.GetBlue(200, 40)), PaletteColour(3));
    frame->Destroy();
    qs::test::PumpFor(20);
}

}  // namespace
}  // namespace qs::displayui
