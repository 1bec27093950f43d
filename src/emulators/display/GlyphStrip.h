#pragma once
#include <array>
#include <cstdint>

namespace qs::display {

// The glyphs of one bitmap font side by side: for every code from `first` to `last`, its bit
// columns start at offsets[code - first] and end where the next code's start. Each row of the
// strip is hexadecimal text, most significant bit first.
struct GlyphStrip {
    int first;
    int last;
    int height;
    int bytesPerRow;
    std::array<int32_t, 257> offsets;
    std::array<const char*, 24> rows;
};

// The generated strips (GlyphStrips.cpp).
extern const GlyphStrip kFixed6x12;
extern const GlyphStrip kFixed6x10;
extern const GlyphStrip kWide10x20;
extern const GlyphStrip kWide12x24;

}  // namespace qs::display
