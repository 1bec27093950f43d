#include "emulators/displayui/FaceplateArt.h"

#include <memory>

#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include "emulators/displayui/CDisplayWnd.h"

namespace qs::displayui {
namespace {

const wxColour kPanel(47, 54, 64);
const wxColour kPanelEdge(86, 98, 114);
const wxColour kBezel(18, 20, 24);
const wxColour kLettering(222, 226, 232);
const wxColour kMuted(150, 160, 172);

struct KeyColours {
    wxColour face;
    wxColour text;
};

KeyColours ColoursOf(const FaceplateKey& key) {
    switch (key.code) {
    case 'A': return {wxColour(63, 155, 79), *wxWHITE};      // Start
    case 'B': return {wxColour(192, 57, 43), *wxWHITE};      // Stop
    case 0x08: return {wxColour(217, 164, 65), kBezel};      // Clear
    case 0x0D: return {wxColour(79, 109, 143), *wxWHITE};    // Enter
    default: break;
    }
    if ((key.code >= '0' && key.code <= '9') || key.code == '+' || key.code == '.') {
        return {wxColour(217, 221, 227), kBezel};
    }
    return {wxColour(96, 110, 128), *wxWHITE};
}

// What the face shows: the caption, except the keys whose caption names a symbol.
wxString FaceText(const FaceplateKey& key) {
    if (key.code == '.') return ".";
    if (key.code == '+') return "+/-";
    return wxString::FromUTF8(key.caption);
}

void Lettering(wxDC& dc, const wxString& text, const wxPoint& at, int points, bool bold, const wxColour& colour) {
    dc.SetFont(wxFont(wxFontInfo(points).Family(wxFONTFAMILY_SWISS).Bold(bold)));
    dc.SetTextForeground(colour);
    dc.DrawText(text, at);
}

void LcdBezel(wxDC& dc, const wxPoint& display) {
    const wxRect lcd(display, wxSize(displayui::CDisplayWnd::kShownWidth, displayui::CDisplayWnd::kShownHeight));
    dc.SetPen(wxPen(kPanelEdge, 2));
    dc.SetBrush(wxBrush(kBezel));
    dc.DrawRoundedRectangle(lcd.Inflate(16, 14), 8);
}

}  // namespace

void FaceplateArt::PaintPanel(wxDC& dc, const FaceplateLayout& layout) {
    const wxRect whole(wxPoint(0, 0), layout.templateSize);
    dc.SetPen(wxPen(kPanelEdge, 3));
    dc.SetBrush(wxBrush(kPanel));
    dc.DrawRoundedRectangle(whole.Deflate(2, 2), layout.corner / 2.0);
    dc.SetPen(wxPen(kPanelEdge, 1));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRoundedRectangle(whole.Deflate(14, 14), layout.corner / 2.0 - 12);

    const wxPoint first = layout.displays.front();
    Lettering(dc, "DURAVANE III", wxPoint(first.x, first.y - 66), 20, true, kLettering);
    Lettering(dc, layout.subtitle, wxPoint(first.x + 2, first.y - 34), 8, false, kMuted);
    for (size_t i = 0; i < layout.displays.size(); ++i) {
        LcdBezel(dc, layout.displays[i]);
        if (layout.displays.size() > 1) {
            Lettering(dc, wxString::Format("DISPLAY %zu", i + 1),
                      layout.displays[i] + wxPoint(0, displayui::CDisplayWnd::kShownHeight + 18), 8, false, kMuted);
        }
    }
    dc.SetPen(wxPen(kPanelEdge, 1));
    dc.SetBrush(wxBrush(kPanel.ChangeLightness(90)));
    dc.DrawRoundedRectangle(layout.KeypadRect().Inflate(18, 18), 10);
}

wxBitmap FaceplateArt::KeyFace(const FaceplateKey& key, const wxSize& size, bool pressed) {
    wxBitmap bitmap(size, 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(kPanel.ChangeLightness(90)));
    dc.Clear();
    const KeyColours colours = ColoursOf(key);
    const wxColour face = pressed ? colours.face.ChangeLightness(80) : colours.face;
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (gc) {
        const double shadow = pressed ? 1 : 3;
        gc->SetPen(*wxTRANSPARENT_PEN);
        gc->SetBrush(wxBrush(kBezel));
        gc->DrawRoundedRectangle(1, 1 + shadow, size.x - 2, size.y - 2 - shadow, 7);
        gc->SetBrush(gc->CreateLinearGradientBrush(0, 0, 0, size.y, face.ChangeLightness(115), face));
        gc->SetPen(wxPen(face.ChangeLightness(70), 1));
        gc->DrawRoundedRectangle(1, pressed ? 2 : 1, size.x - 3, size.y - 2 - shadow, 7);
        gc->SetFont(wxFont(wxFontInfo(key.code == '.' ? 18 : 11).Family(wxFONTFAMILY_SWISS).Bold()), colours.text);
        const wxString text = FaceText(key);
        double width = 0, height = 0;
        gc->GetTextExtent(text, &width, &height);
        gc->DrawText(text, (size.x - width) / 2, (size.y - shadow - height) / 2 + (pressed ? 1 : 0));
    }
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

wxIconBundle FaceplateArt::Icons() {
    wxIconBundle icons;
    for (const int side : {16, 32, 48}) {
        wxBitmap bitmap(side, side, 24);
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(kPanel));
        dc.Clear();
        const auto& green = displayui::CDisplayWnd::kPalette[0];
        dc.SetPen(wxPen(kBezel, 1));
        dc.SetBrush(wxBrush(wxColour(green[0], green[1], green[2])));
        dc.DrawRectangle(side / 8, side / 8, side - side / 4, side * 3 / 8);
        dc.SetBrush(wxBrush(kLettering));
        const int key = std::max(2, side / 8);
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 3; ++column) {
                dc.DrawRectangle(side / 8 + column * (key * 2), side * 5 / 8 + row * (key + key / 2), key + key / 2, key);
            }
        }
        dc.SelectObject(wxNullBitmap);
        wxIcon icon;
        icon.CopyFromBitmap(bitmap);
        icons.AddIcon(icon);
    }
    return icons;
}

}  // namespace qs::displayui
