#include "emulators/display/FontRecord.h"

namespace qs::display {
namespace {

int HexDigit(char c) { return c <= '9' ? c - '0' : c - 'a' + 10; }

const DecodedStrip& Decoded(const GlyphStrip& strip) {
    // The four strips, decoded at first use; they never change afterwards.
    static const DecodedStrip d6x12(kFixed6x12), d6x10(kFixed6x10), d10x20(kWide10x20), d12x24(kWide12x24);
    if (&strip == &kFixed6x12) return d6x12;
    if (&strip == &kFixed6x10) return d6x10;
    if (&strip == &kWide10x20) return d10x20;
    return d12x24;
}

FontRecord Single(int first, int height, int spacing, int cell, const GlyphStrip& strip) {
    FontRecord f;
    f.first = first;
    f.last = 255;
    f.height = height;
    f.spacing = spacing;
    f.fixedCell = cell;
    f.strip = &Decoded(strip);
    f.padTop = (height - strip.height + 1) / 2;
    return f;
}

FontRecord Double(int height, int spacing, int cell) {
    FontRecord f;
    f.first = 0;
    f.last = 8083;
    f.height = height;
    f.spacing = spacing;
    f.fixedCell = cell;
    f.boxWidth = cell - spacing;
    return f;
}

}  // namespace

DecodedStrip::DecodedStrip(const GlyphStrip& s) : source(s) {
    bits.assign(static_cast<size_t>(s.height * s.bytesPerRow), 0);
    for (int r = 0; r < s.height; ++r) {
        const char* hex = s.rows[static_cast<size_t>(r)];
        for (int b = 0; b < s.bytesPerRow && hex[2 * b] && hex[2 * b + 1]; ++b) {
            bits[static_cast<size_t>(r * s.bytesPerRow + b)] =
                static_cast<uint8_t>(HexDigit(hex[2 * b]) << 4 | HexDigit(hex[2 * b + 1]));
        }
    }
}

int FontRecord::GlyphWidth(int code) const {
    if (!strip) return boxWidth;
    const GlyphStrip& s = strip->source;
    if (code < s.first || code > s.last) return 0;
    const auto i = static_cast<size_t>(code - s.first);
    return s.offsets[i + 1] - s.offsets[i];
}

bool FontRecord::Bit(int code, int row, int column) const {
    if (!strip) {
        // The box of a glyph we have no data for.
        return row == 0 || row == height - 1 || column == 0 || column == boxWidth - 1;
    }
    const GlyphStrip& s = strip->source;
    const int stripRow = row - padTop;
    if (stripRow < 0 || stripRow >= s.height || code < s.first || code > s.last) return false;
    const int bit = s.offsets[static_cast<size_t>(code - s.first)] + column;
    const uint8_t byte = strip->bits[static_cast<size_t>(stripRow * s.bytesPerRow + bit / 8)];
    return (byte >> (7 - bit % 8)) & 1;
}

const FontRecord* FontTable::Get(int number) const {
    if (number < 0 || number >= Count()) return nullptr;
    return &fonts_[static_cast<size_t>(number)];
}

const FontTable& FontTable::Farview() {
    static const FontTable table = [] {
        const FontRecord small = Single(20, 12, 0, 8, kFixed6x12);
        const FontRecord large = Single(32, 26, 2, 10, kWide10x20);
        return FontTable({
            small, small, large, Single(20, 10, 0, 8, kFixed6x10), Single(32, 29, 2, 12, kWide12x24),
            large, small, small, Single(32, 27, 2, 10, kWide10x20), small,
            small, Single(32, 25, 2, 10, kWide10x20), small, small, large,
            small, small, large, Double(12, 5, 16), Double(12, 5, 16),
            Double(24, 2, 20),
        });
    }();
    return table;
}

const FontTable& FontTable::Panelsim() {
    static const FontTable table = [] {
        const FontRecord small = Single(20, 12, 0, 8, kFixed6x12);
        const FontRecord large = Single(31, 24, 2, 12, kWide12x24);
        return FontTable({
            small, small, large, Single(20, 10, 0, 8, kFixed6x10), Single(31, 24, 3, 25, kWide12x24),
            Single(31, 21, 2, 10, kWide10x20), small, small, large, small,
            small, large, small, small, large,
            small, small, large,
        });
    }();
    return table;
}

}  // namespace qs::display
