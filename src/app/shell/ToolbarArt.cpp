#include "app/shell/ToolbarArt.h"

#include <initializer_list>
#include <memory>

#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/pen.h>
#include <wx/image.h>

namespace qs {

namespace {

// Pictures are designed on a 16 x 16 grid; lines sit on half units so they stay crisp.
class Painter {
public:
    Painter(wxGraphicsContext& gc, bool colour) : gc_(gc), colour_(colour) {
        if (!colour_) gc_.SetAntialiasMode(wxANTIALIAS_NONE);
    }

    // In black and white a dark colour is black and a light one white.
    wxColour Map(const wxColour& c) const {
        if (colour_) return c;
        const int luminance = (c.Red() * 299 + c.Green() * 587 + c.Blue() * 114) / 1000;
        return luminance < 140 ? *wxBLACK : *wxWHITE;
    }

    void Use(const wxColour& fill, const wxColour& outline, double width = 1.0) {
        gc_.SetBrush(fill.IsOk() ? gc_.CreateBrush(wxBrush(Map(fill))) : wxNullGraphicsBrush);
        gc_.SetPen(outline.IsOk() ? gc_.CreatePen(wxGraphicsPenInfo(colour_ ? outline : *wxBLACK, width))
                                  : wxNullGraphicsPen);
    }

    void Rect(double x, double y, double w, double h, const wxColour& fill, const wxColour& outline) {
        Use(fill, outline);
        gc_.DrawRectangle(x + 0.5, y + 0.5, w - 1, h - 1);
    }

    void Poly(std::initializer_list<wxPoint2DDouble> points, const wxColour& fill, const wxColour& outline,
              double width = 1.0) {
        Use(fill, outline, width);
        wxGraphicsPath path = gc_.CreatePath();
        bool first = true;
        for (const auto& p : points) {
            if (first) path.MoveToPoint(p.m_x, p.m_y);
            else path.AddLineToPoint(p.m_x, p.m_y);
            first = false;
        }
        if (fill.IsOk()) path.CloseSubpath();
        if (fill.IsOk()) gc_.FillPath(path);
        if (outline.IsOk()) gc_.StrokePath(path);
    }

    void Line(double x1, double y1, double x2, double y2, const wxColour& colour, double width = 1.0) {
        Poly({{x1, y1}, {x2, y2}}, wxNullColour, colour, width);
    }

    void Circle(double cx, double cy, double r, const wxColour& fill, const wxColour& outline, double width = 1.0) {
        Use(fill, outline, width);
        gc_.DrawEllipse(cx - r, cy - r, 2 * r, 2 * r);
    }

    // A sheet of paper with a folded corner.
    void Page(double x, double y, double w, double h) {
        const double f = 4;
        Poly({{x + 0.5, y + 0.5},
              {x + w - f - 0.5, y + 0.5},
              {x + w - 0.5, y + f + 0.5},
              {x + w - 0.5, y + h - 0.5},
              {x + 0.5, y + h - 0.5}},
             *wxWHITE, kInk);
        Poly({{x + w - f - 0.5, y + 0.5}, {x + w - f - 0.5, y + f + 0.5}, {x + w - 0.5, y + f + 0.5}}, kPaperShade,
             kInk);
    }

    // Lines of text on a page.
    void TextLines(double x, double y, double w, int count, const wxColour& colour) {
        for (int i = 0; i < count; ++i) Line(x, y + 2 * i + 0.5, x + w, y + 2 * i + 0.5, colour);
    }

    // A small window: frame, title bar.
    void Window(double x, double y, double w, double h) {
        Rect(x, y, w, h, *wxWHITE, kInk);
        Rect(x, y, w, 3, kTitleBar, kInk);
    }

    // An arrow pointing down (from the device) or up (to it), centred on x.
    void Arrow(double x, double top, double bottom, bool down, const wxColour& colour) {
        const double head = 3.5;
        if (down) {
            Poly({{x - 1.5, top}, {x + 1.5, top}, {x + 1.5, bottom - head}, {x + head, bottom - head}, {x, bottom},
                  {x - head, bottom - head}, {x - 1.5, bottom - head}},
                 colour, kInk);
        } else {
            Poly({{x - 1.5, bottom}, {x + 1.5, bottom}, {x + 1.5, top + head}, {x + head, top + head}, {x, top},
                  {x - head, top + head}, {x - 1.5, top + head}},
                 colour, kInk);
        }
    }

    static inline const wxColour kInk{40, 40, 40};
    static inline const wxColour kPaperShade{200, 200, 200};
    static inline const wxColour kTitleBar{40, 90, 190};
    static inline const wxColour kText{90, 110, 160};
    static inline const wxColour kReadArrow{40, 150, 60};
    static inline const wxColour kDumpArrow{210, 60, 40};

private:
    wxGraphicsContext& gc_;
    bool colour_;
};

void DrawPicture(Painter& p, ToolIcon icon) {
    const wxColour ink = Painter::kInk;
    switch (icon) {
    case ToolIcon::kNew:
        p.Page(3, 1, 11, 14);
        break;
    case ToolIcon::kOpen:
        p.Poly({{1.5, 3.5}, {6.5, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}}, wxColour(200, 150, 40), ink);
        p.Poly({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}, wxColour(245, 205, 90), ink);
        break;
    case ToolIcon::kSave:
        p.Rect(1, 1, 14, 14, wxColour(50, 100, 200), ink);
        p.Rect(4, 1, 8, 6, *wxWHITE, ink);
        p.Rect(4, 10, 8, 5, wxColour(60, 60, 60), ink);
        p.Rect(9, 2, 2, 4, wxColour(60, 60, 60), wxNullColour);
        break;
    case ToolIcon::kCut:
        p.Line(4.5, 1, 10.5, 10, ink, 1.5);
        p.Line(11.5, 1, 5.5, 10, ink, 1.5);
        p.Circle(4.5, 12, 2.5, *wxWHITE, wxColour(200, 40, 40), 1.5);
        p.Circle(11.5, 12, 2.5, *wxWHITE, wxColour(200, 40, 40), 1.5);
        break;
    case ToolIcon::kCopy:
        p.Page(1, 1, 9, 11);
        p.Page(6, 4, 9, 11);
        p.TextLines(8, 9, 4, 3, Painter::kText);
        break;
    case ToolIcon::kPaste:
        p.Rect(2, 2, 11, 13, wxColour(170, 120, 60), ink);
        p.Rect(5, 1, 5, 3, wxColour(150, 150, 150), ink);
        p.Page(7, 6, 8, 9);
        p.TextLines(8.5, 10, 4, 2, Painter::kText);
        break;
    case ToolIcon::kReadSelection:
        p.Page(5, 5, 10, 11);
        p.Rect(6, 11, 7, 3, wxColour(255, 230, 120), wxNullColour);
        p.TextLines(6.5, 8, 6, 4, Painter::kText);
        p.Arrow(4, 0, 9, true, Painter::kReadArrow);
        break;
    case ToolIcon::kReadAll:
        p.Page(7, 3, 8, 10);
        p.Page(5, 5, 8, 11);
        p.TextLines(6.5, 9, 5, 4, Painter::kText);
        p.Arrow(4, 0, 9, true, Painter::kReadArrow);
        break;
    case ToolIcon::kDumpSelection:
        p.Page(5, 5, 10, 11);
        p.Rect(6, 11, 7, 3, wxColour(255, 230, 120), wxNullColour);
        p.TextLines(6.5, 8, 6, 4, Painter::kText);
        p.Arrow(4, 0, 9, false, Painter::kDumpArrow);
        break;
    case ToolIcon::kDumpAll:
        p.Page(7, 3, 8, 10);
        p.Page(5, 5, 8, 11);
        p.TextLines(6.5, 9, 5, 4, Painter::kText);
        p.Arrow(4, 0, 9, false, Painter::kDumpArrow);
        break;
    case ToolIcon::kNewWindow:
        p.Window(1, 1, 12, 11);
        p.Rect(9, 9, 7, 7, wxColour(255, 230, 120), ink);
        p.Line(12.5, 10.5, 12.5, 14.5, ink);
        p.Line(10.5, 12.5, 14.5, 12.5, ink);
        break;
    case ToolIcon::kCascade:
        p.Window(1, 1, 9, 8);
        p.Window(4, 4, 9, 8);
        p.Window(7, 7, 9, 9);
        break;
    case ToolIcon::kTileHorizontally:
        p.Window(1, 1, 14, 7);
        p.Window(1, 8, 14, 7);
        break;
    case ToolIcon::kTileVertically:
        p.Window(1, 1, 7, 14);
        p.Window(8, 1, 7, 14);
        break;
    case ToolIcon::kGoOnline:
        // Plug and socket pushed together, with the link lit.
        p.Rect(1, 5, 6, 6, wxColour(130, 130, 130), ink);
        p.Rect(7, 6, 2, 1.5, ink, wxNullColour);
        p.Rect(7, 8.5, 2, 1.5, ink, wxNullColour);
        p.Rect(9, 5, 6, 6, wxColour(130, 130, 130), ink);
        p.Circle(8, 13.5, 2, wxColour(40, 200, 60), ink);
        break;
    case ToolIcon::kGoOffline:
        // Plug and socket apart, the link dark.
        p.Rect(0, 5, 5, 6, wxColour(130, 130, 130), ink);
        p.Rect(5, 6, 3, 1.5, ink, wxNullColour);
        p.Rect(5, 8.5, 3, 1.5, ink, wxNullColour);
        p.Rect(11, 5, 5, 6, wxColour(130, 130, 130), ink);
        p.Line(8.5, 1.5, 10.5, 3.5, wxColour(210, 40, 40), 1.5);
        p.Line(10.5, 1.5, 8.5, 3.5, wxColour(210, 40, 40), 1.5);
        p.Circle(8, 13.5, 2, *wxWHITE, ink);
        break;
    }
}

}  // namespace

wxBitmap DrawToolIcon(ToolIcon icon, bool colour, int size) {
    if (size < 8) size = 8;
    wxImage image(size, size);
    image.InitAlpha();
    unsigned char* alpha = image.GetAlpha();
    for (int i = 0; i < size * size; ++i) alpha[i] = 0;
    {
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
        if (gc) {
            gc->Scale(size / 16.0, size / 16.0);
            Painter painter(*gc, colour);
            DrawPicture(painter, icon);
        }
    }  // the picture lands in the image when the context goes (in new buffers)
    if (!colour) {
        // Anything the edges left half-way is made plainly black or white, and plainly there or not.
        alpha = image.GetAlpha();
        unsigned char* rgb = image.GetData();
        for (int i = 0; i < size * size; ++i) {
            alpha[i] = alpha[i] < 128 ? 0 : 255;
            const int sum = rgb[3 * i] + rgb[3 * i + 1] + rgb[3 * i + 2];
            const unsigned char v = sum < 3 * 140 ? 0 : 255;
            rgb[3 * i] = rgb[3 * i + 1] = rgb[3 * i + 2] = v;
        }
    }
    return wxBitmap(image);
}

}  // namespace qs
