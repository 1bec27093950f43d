#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "DisplayTestKit.h"
#include "emulators/display/GraphicPainter.h"

namespace qs::display::test {
namespace {

DisplayObject Graphic(uint8_t type, int x, int y, int x2, int y2, uint8_t colour, std::vector<uint8_t> payload = {0}) {
    DisplayObject o;
    o.type = type;
    o.x = static_cast<uint16_t>(x);
    o.y = static_cast<uint16_t>(y);
    o.x2 = static_cast<uint16_t>(x2);
    o.y2 = static_cast<uint16_t>(y2);
    o.colour = colour;
    o.depth = 8;
    o.payload = std::move(payload);
    return o;
}

std::vector<uint8_t> Bar(double full, double zero, double current) {
    const std::string bytes = LittleEndianDouble(full) + LittleEndianDouble(zero) + LittleEndianDouble(current);
    std::vector<uint8_t> out(bytes.begin(), bytes.end());
    out.push_back(0);
    return out;
}

std::string Drawn(const DisplayObject& o, int xOffset = 0, int right = 11, int bottom = 4) {
    Framebuffer fb;
    GraphicPainter(fb).Draw(o, xOffset);
    return Art(fb, 0, 0, right, bottom);
}

TEST(GraphicPainterBar, FillFollowsTheValue) {
    struct Row {
        double full, zero, current;
        const char* art;
    };
    const Row rows[] = {
        {5.0, 5.0, 3.0,  // no scale: no fill
         "11111111111.\n12222222221.\n12222222221.\n12222222221.\n11111111111.\n"},
        {100.0, 0.0, 50.0,
         "11111111111.\n11111122221.\n11111122221.\n11111122221.\n11111111111.\n"},
        {100.0, 0.0, 150.0,
         "11111111111.\n11111111111.\n11111111111.\n11111111111.\n11111111111.\n"},
        {100.0, 0.0, -20.0,
         "11111111111.\n12222222221.\n12222222221.\n12222222221.\n11111111111.\n"},
        {100.0, 0.0, std::numeric_limits<double>::quiet_NaN(),
         "11111111111.\n12222222221.\n12222222221.\n12222222221.\n11111111111.\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Drawn(Graphic(0x84, 0, 0, 10, 4, 0x21, Bar(row.full, row.zero, row.current))), row.art) << row.current;
    }
    // Corners given the other way round draw the same bar.
    EXPECT_EQ(Drawn(Graphic(0x84, 10, 4, 0, 0, 0x21, Bar(100, 0, 50))), rows[1].art);
    // A payload shorter than three numbers draws nothing.
    std::vector<uint8_t> shortBar = Bar(100, 0, 50);
    shortBar.erase(shortBar.begin());
    EXPECT_EQ(Drawn(Graphic(0x84, 0, 0, 10, 4, 0x21, shortBar)), Drawn(Graphic(0xE0, 0, 0, 10, 4, 0x21)));
}

TEST(GraphicPainterBar, Fraction) {
    EXPECT_FLOAT_EQ(GraphicPainter::BarFraction(100, 0, 50), 0.5f);
    EXPECT_FLOAT_EQ(GraphicPainter::BarFraction(0, 100, 25), 0.75f);
    EXPECT_FLOAT_EQ(GraphicPainter::BarFraction(7, 7, 9), 0.0f);
    EXPECT_FLOAT_EQ(GraphicPainter::BarFraction(1e300, -1e300, 1e300), 1.0f);
    EXPECT_FLOAT_EQ(GraphicPainter::BarFraction(std::numeric_limits<double>::infinity(), 0, 1), 0.0f);
}

TEST(GraphicPainterShapes, RectanglesAndLines) {
    struct Row {
        uint8_t type;
        int x, y, x2, y2;
        const char* art;
    };
    const Row rows[] = {
        {0xC2, 1, 1, 4, 3, "......\n.3333.\n.3..3.\n.3333.\n......\n"},
        {0xC6, 4, 3, 1, 1, "......\n.3333.\n.3113.\n.3333.\n......\n"},
        {0xC1, 0, 2, 5, 2, "......\n......\n333333\n......\n......\n"},
        {0xC1, 2, 4, 2, 0, "..3...\n..3...\n..3...\n..3...\n..3...\n"},
        // From (0, 4) to (4, 0): the corners are ordered one by one, so it falls to the right.
        {0xC1, 0, 4, 4, 0, "3.....\n.3....\n..3...\n...3..\n....3.\n"},
        // One pixel per column, however steep.
        {0xC1, 0, 0, 1, 4, "3.....\n......\n......\n......\n.3....\n"},
        {0xE0, 0, 0, 5, 4, "......\n......\n......\n......\n......\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Drawn(Graphic(row.type, row.x, row.y, row.x2, row.y2, 0x13), 0, 5, 4), row.art) << int(row.type);
    }
    Framebuffer fb;
    GraphicPainter(fb).Draw(Graphic(0xC1, 10, 50, 50, 10, 3), 0);
    EXPECT_EQ(fb.Pixel(10, 10), 3);
    EXPECT_EQ(fb.Pixel(30, 30), 3);
    EXPECT_EQ(fb.Pixel(50, 50), 3);
    EXPECT_EQ(fb.Pixel(10, 50), 0);
    EXPECT_EQ(Inked(fb), 41);
}

TEST(GraphicPainterShapes, SplitOffsetMovesBothCorners) {
    Framebuffer fb;
    GraphicPainter(fb).Draw(Graphic(0xC1, 0, 0, 3, 0, 2), 120);
    EXPECT_EQ(Art(fb, 118, 0, 125, 0), "..2222..\n");
}

TEST(GraphicPainterBitmap, WidthAndHeightFromTheCornersRowsTopDown) {
    const std::vector<uint8_t> pixels{1, 2, 3, 3, 2, 1, 0};
    EXPECT_EQ(Drawn(Graphic(0xC0, 1, 1, 3, 2, 0, pixels), 0, 5, 3), "......\n.123..\n.321..\n......\n");
    EXPECT_EQ(Drawn(Graphic(0xC3, 1, 1, 3, 2, 0, pixels), 0, 5, 3), "......\n.123..\n.321..\n......\n");
    // Palette indexes above 3 keep their two low bits.
    EXPECT_EQ(Drawn(Graphic(0xC0, 0, 0, 2, 1, 0, {5, 6, 0}), 0, 2, 0), "12.\n");
    // Only 8 bits a pixel are drawn; fewer bytes than pixels draw nothing.
    DisplayObject fourBit = Graphic(0xC0, 1, 1, 3, 2, 0, pixels);
    fourBit.depth = 4;
    EXPECT_EQ(Inked([&] { Framebuffer fb; GraphicPainter(fb).Draw(fourBit, 0); return fb; }()), 0);
    EXPECT_EQ(Drawn(Graphic(0xC0, 1, 1, 3, 3, 0, pixels), 0, 5, 3), "......\n......\n......\n......\n");
}

TEST(GraphicPainterBitmap, OddSplitDisplayMovesOnlyTheLeftEdge) {
    Framebuffer fb;
    GraphicPainter(fb).Draw(Graphic(0xC0, 1, 1, 2, 2, 0, {1, 2, 3, 1, 0}), 120);
    EXPECT_EQ(Art(fb, 120, 0, 124, 3), ".....\n.12..\n.31..\n.....\n");
}

TEST(GraphicPainterClip, CoordinatesAnywhereStayInside) {
    Framebuffer fb;
    GraphicPainter painter(fb);
    for (uint8_t type : {0x84, 0xC0, 0xC1, 0xC2, 0xC3, 0xC6}) {
        std::vector<uint8_t> payload = type == 0x84 ? Bar(1, 0, 0.5) : std::vector<uint8_t>(65, 3);
        painter.Draw(Graphic(type, 65535, 65535, 0, 0, 3, payload), 120);
        painter.Draw(Graphic(type, 0, 0, 65535, 1, 3, payload), 120);
        painter.Draw(Graphic(type, 250, 60, 8, 8, 3, payload), 0);
    }
    painter.Draw(Graphic(0xC1, 0, 0, 1, 65535, 3), 0);
    EXPECT_GT(Inked(fb), 0);
}

}  // namespace
}  // namespace qs::display::test
