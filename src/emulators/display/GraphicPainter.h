#pragma once
#include <cstddef>

#include "emulators/display/DisplayObject.h"
#include "emulators/display/Framebuffer.h"

namespace qs::display {

// Draws the graphic objects: bar graphs, rectangles, lines and bitmaps, pixel by pixel as the
// device's LCD draws them (lines one pixel per column, corners ordered independently).
class GraphicPainter {
public:
    static constexpr uint8_t kBarGraph = 0x84;
    static constexpr uint8_t kBitmap = 0xC0;
    static constexpr uint8_t kLine = 0xC1;
    static constexpr uint8_t kRectangle = 0xC2;
    static constexpr uint8_t kOrderedBitmap = 0xC3;
    static constexpr uint8_t kFilledRectangle = 0xC6;
    static constexpr size_t kBarGraphPayload = 24;

    explicit GraphicPainter(Framebuffer& target) : target_(target) {}

    // `xOffset` moves the object right (the odd half of a split screen). A payload shorter than
    // the kind needs draws nothing.
    void Draw(const DisplayObject& object, int xOffset);

    // The share of the bar that is filled: 0 to 1 (0 for no scale or a value that is no number).
    static float BarFraction(double fullScale, double zero, double current);

private:
    void BarGraph(const DisplayObject& o, int x, int y, int x2, int y2);
    void FilledRectangle(int from, int x2, int y, int y2, int colour);
    void Rectangle(int x, int y, int x2, int y2, int colour);
    void Line(int x, int y, int x2, int y2, int colour);
    void Bitmap(const DisplayObject& o, int x);

    Framebuffer& target_;
};

}  // namespace qs::display
