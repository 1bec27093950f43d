#pragma once
#include <string_view>

#include "emulators/display/FontRecord.h"
#include "emulators/display/Framebuffer.h"

namespace qs::display {

// Draws texts into a framebuffer the way the device's LCD does: glyph cells with padding,
// digits and a few signs in a fixed cell, and a text's y giving the row below it.
class TextPainter {
public:
    // The cursor stops at this column, whatever the bitmap's width.
    static constexpr int kClipColumn = 320;
    // Double-byte codes: lead and trail bytes from 0xA1, 94 glyphs a row.
    static constexpr int kDoubleByteBase = 0xA1;

    TextPainter(Framebuffer& target, const FontTable& fonts) : target_(target), fonts_(fonts) {}

    // Draws `text` (up to its end or a 0 byte) with font `font`; returns the cursor after it. An
    // unknown font draws nothing. In a double-byte font a byte below 0xA0 is drawn in the
    // companion single-byte font; a lead byte without its trail ends the text and a pair that
    // is no glyph is skipped.
    int DrawTextRun(std::string_view text, int font, int x, int y, int foreground, int background);
    // Draws one glyph with its cell; returns the cursor after it (unchanged for a code the font
    // does not have).
    int DrawGlyph(const FontRecord& font, int code, int x, int y, int foreground, int background);

private:
    void PaintBackground(int left, int right, int top, int bottom, int colour);

    Framebuffer& target_;
    const FontTable& fonts_;
};

}  // namespace qs::display
