#include "emulators/display/GraphicPainter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

namespace qs::display {
namespace {

double LittleEndianDouble(const std::vector<uint8_t>& p, size_t at) {
    uint64_t v = 0;
    for (size_t i = 8; i-- > 0;) v = v << 8 | p[at + i];
    return std::bit_cast<double>(v);
}

// The columns any drawing can reach: the bitmap and no further.
int ClipRight(int x2) { return std::min(x2, Framebuffer::kWidth - 1); }

}  // namespace

float GraphicPainter::BarFraction(double fullScale, double zero, double current) {
    if (fullScale == zero) return 0.0f;
    const auto fraction = static_cast<float>((current - zero) / (fullScale - zero));
    if (std::isnan(fraction)) return 0.0f;
    return std::clamp(fraction, 0.0f, 1.0f);
}

void GraphicPainter::Draw(const DisplayObject& o, int xOffset) {
    if (!o.HasPayload()) return;
    int x = o.x + xOffset;
    int y = o.y;
    if (o.type == kBitmap || o.type == kOrderedBitmap) {
        // x2 and y2 of a bitmap are its width and height: nothing to order or move.
        Bitmap(o, x);
        return;
    }
    int x2 = o.x2 + xOffset;
    int y2 = o.y2;
    if (x2 < x) std::swap(x, x2);
    if (y2 < y) std::swap(y, y2);
    switch (o.type) {
    case kBarGraph: BarGraph(o, x, y, x2, y2); break;
    case kFilledRectangle:
        FilledRectangle(x, x2, y, y2, o.colour >> 4);
        Rectangle(x, y, x2, y2, o.colour);
        break;
    case kRectangle: Rectangle(x, y, x2, y2, o.colour); break;
    case kLine: Line(x, y, x2, y2, o.colour); break;
    default: break;
    }
}

void GraphicPainter::BarGraph(const DisplayObject& o, int x, int y, int x2, int y2) {
    // The payload holds the closing 0 after the three numbers.
    if (o.payload.size() < kBarGraphPayload + 1) return;
    const float fraction = BarFraction(LittleEndianDouble(o.payload, 0), LittleEndianDouble(o.payload, 8),
                                       LittleEndianDouble(o.payload, 16));
    const int end = x + 1 + static_cast<int>(static_cast<float>(x2 - x) * fraction);
    for (int row = y + 1; row <= y2 - 1 && row < Framebuffer::kHeight; ++row) {
        for (int col = x + 1; col <= std::min(end - 1, ClipRight(x2)); ++col) target_.SetPixel(col, row, o.colour);
    }
    // The unfilled part starts at the fill's end, so no column keeps an older bar's pixels.
    FilledRectangle(end - 1, x2, y, y2, o.colour >> 4);
    Rectangle(x, y, x2, y2, o.colour);
}

void GraphicPainter::FilledRectangle(int from, int x2, int y, int y2, int colour) {
    for (int row = y + 1; row <= y2 - 1 && row < Framebuffer::kHeight; ++row) {
        for (int col = from + 1; col <= std::min(x2 - 1, ClipRight(x2)); ++col) target_.SetPixel(col, row, colour);
    }
}

void GraphicPainter::Rectangle(int x, int y, int x2, int y2, int colour) {
    for (int col = x; col <= ClipRight(x2); ++col) {
        target_.SetPixel(col, y, colour);
        target_.SetPixel(col, y2, colour);
    }
    for (int row = y; row <= std::min(y2, Framebuffer::kHeight - 1); ++row) {
        target_.SetPixel(x, row, colour);
        target_.SetPixel(x2, row, colour);
    }
}

void GraphicPainter::Line(int x, int y, int x2, int y2, int colour) {
    if (y == y2) {
        for (int col = x; col <= ClipRight(x2); ++col) target_.SetPixel(col, y, colour);
        return;
    }
    if (x == x2) {
        for (int row = y; row <= std::min(y2, Framebuffer::kHeight - 1); ++row) target_.SetPixel(x, row, colour);
        return;
    }
    const float slope = static_cast<float>(y2 - y) / static_cast<float>(x2 - x);
    const float intercept = static_cast<float>(y) - static_cast<float>(x) * slope;
    for (int col = x; col <= ClipRight(x2); ++col) {
        const float row = static_cast<float>(col) * slope + intercept;
        // Rows off the bitmap are skipped before the conversion, which could not hold them.
        if (row > -1.0f && row < static_cast<float>(Framebuffer::kHeight)) target_.SetPixel(col, static_cast<int>(row), colour);
    }
}

void GraphicPainter::Bitmap(const DisplayObject& o, int x) {
    if (o.depth != 8) return;
    const size_t width = o.x2, height = o.y2;
    if (o.payload.size() < width * height + 1) return;
    const int rows = std::min<int>(o.y2, Framebuffer::kHeight - o.y);
    for (int r = 0; r < rows; ++r) {
        const uint8_t* row = o.payload.data() + static_cast<size_t>(r) * width;
        for (int c = 0; c < static_cast<int>(width) && x + c < Framebuffer::kWidth; ++c) {
            target_.SetPixel(x + c, o.y + r, row[c]);
        }
    }
}

}  // namespace qs::display

