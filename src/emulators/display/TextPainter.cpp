#include "emulators/display/TextPainter.h"

#include <algorithm>

namespace qs::display {
namespace {

bool InFixedCell(int code) {
    return code == ' ' || code == '+' || code == '-' || (code >= '0' && code <= '9') || code == '\\' ||
           code == '^' || code == '~';
}

}  // namespace

void TextPainter::PaintBackground(int left, int right, int top, int bottom, int colour) {
    // Columns past the clip are never in the bitmap; stopping there bounds the loops.
    right = std::min(right, kClipColumn);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) target_.SetPixel(x, y, colour);
    }
}

int TextPainter::DrawGlyph(const FontRecord& font, int code, int x, int y, int foreground, int background) {
    if (!font.Has(code)) return x;
    int w = font.GlyphWidth(code);
    int c = InFixedCell(code) ? font.fixedCell : w + font.spacing;
    int r = (c - w) / 2;
    const int l = (c - w) - r;
    if (x + c > kClipColumn) c = kClipColumn - x;
    if (x + l + w > kClipColumn) {
        w = kClipColumn - x - l;
        r = c - w;
    }
    const int top = std::max(y - (font.height + font.extraRows), 0);
    const int glyphTop = std::max(y - font.height, 0);

    if (l >= 2) PaintBackground(x, x + l - 2, top, y - 1, background);
    const int gx = l >= 1 ? x + l - 1 : x;
    PaintBackground(gx, gx + w - 1, top, glyphTop - 1, background);
    for (int row = 0; row < font.height; ++row) {
        const int py = glyphTop + row;
        if (py >= Framebuffer::kHeight) break;
        for (int col = 0; col < w && gx + col < Framebuffer::kWidth; ++col) {
            target_.SetPixel(gx + col, py, font.Bit(code, row, col) ? foreground : background);
        }
    }
    if (r != 0) PaintBackground(gx + w, gx + w + r, top, y - 1, background);
    return x + c;
}

int TextPainter::DrawTextRun(std::string_view text, int font, int x, int y, int foreground, int background) {
    const FontRecord* f = fonts_.Get(font);
    if (!f) return x;
    const FontRecord* single = f->DoubleByte() ? fonts_.Get((font - 3) % 3) : f;
    for (size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (!f->DoubleByte()) {
            x = DrawGlyph(*f, b, x, y, foreground, background);
            continue;
        }
        if (b < 0xA0) {
            if (single) x = DrawGlyph(*single, b, x, y, foreground, background);
            continue;
        }
        if (i + 1 >= text.size() || text[i + 1] == '\0') break;
        const auto trail = static_cast<uint8_t>(text[++i]);
        if (b < kDoubleByteBase || trail < kDoubleByteBase) continue;
        x = DrawGlyph(*f, (b - kDoubleByteBase) * 94 + (trail - kDoubleByteBase), x, y, foreground, background);
    }
    return x;
}

}  // namespace qs::display
