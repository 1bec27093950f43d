#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulators/display/GlyphStrip.h"

namespace qs::display {

// A glyph strip with its rows turned from text into bits, once.
struct DecodedStrip {
    explicit DecodedStrip(const GlyphStrip& source);
    const GlyphStrip& source;
    std::vector<uint8_t> bits;  // height rows of bytesPerRow bytes
};

// One display font: its codes, metrics and glyphs. A font taller than its strip has blank rows
// above and below the glyphs. Double-byte fonts have no glyph data: each glyph is drawn as a
// box of `boxWidth` columns.
struct FontRecord {
    int first = 0;
    int last = 0;
    int height = 0;
    int spacing = 0;
    int extraRows = 0;
    int fixedCell = 0;
    const DecodedStrip* strip = nullptr;  // single-byte fonts
    int padTop = 0;                       // blank rows above the strip
    int boxWidth = 0;                     // double-byte fonts

    bool DoubleByte() const { return last > 255; }
    bool Has(int code) const { return code >= first && code <= last; }
    // The glyph's width in columns (the code must be in range).
    int GlyphWidth(int code) const;
    // Whether the glyph's pixel at (column, row) is set; row 0 is the glyph's top.
    bool Bit(int code, int row, int column) const;
};

// The fonts of one emulator, by font number.
class FontTable {
public:
    static const FontTable& Farview();
    static const FontTable& Panelsim();

    // nullptr for a number the table does not have.
    const FontRecord* Get(int number) const;
    int Count() const { return static_cast<int>(fonts_.size()); }

private:
    explicit FontTable(std::vector<FontRecord> fonts) : fonts_(std::move(fonts)) {}
    std::vector<FontRecord> fonts_;
};

}  // namespace qs::display
