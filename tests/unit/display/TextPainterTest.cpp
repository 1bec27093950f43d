#include <gtest/gtest.h>

#include "DisplayTestKit.h"
#include "emulators/display/TextPainter.h"

namespace qs::display::test {
namespace {

struct Painter {
    explicit Painter(const FontTable& fonts = FontTable::Farview()) : painter(fb, fonts) {}
    Framebuffer fb;
    TextPainter painter;
};

TEST(TextPainterGlyph, CellsPadDigitsAndSignsToTheirFixedWidth) {
    Painter p;
    EXPECT_EQ(p.painter.DrawTextRun("A1", 0, 0, 12, 3, 1), 14);
    // 'A' fills its own 6 columns; '1' sits in a cell of 8 with one background column after it.
    EXPECT_EQ(Art(p.fb, 0, 0, 15, 12),
              "11111111111111..\n"
              "11111111111111..\n"
              "11111111111111..\n"
              "13331111311111..\n"
              "31113113311111..\n"
              "31113111311111..\n"
              "33333111311111..\n"
              "31113111311111..\n"
              "31113111311111..\n"
              "31113113331111..\n"
              "11111111111111..\n"
              "11111111111111..\n"
              "................\n");
}

TEST(TextPainterGlyph, AdvanceIsTheFixedCellOrWidthPlusSpacing) {
    struct Row {
        const FontTable* fonts;
        int font;
        char code;
        int advance;
    };
    const Row rows[] = {
        {&FontTable::Farview(), 0, '0', 8}, {&FontTable::Farview(), 0, '9', 8}, {&FontTable::Farview(), 0, ' ', 8},
        {&FontTable::Farview(), 0, '~', 8}, {&FontTable::Farview(), 0, 'i', 6}, {&FontTable::Farview(), 3, 'W', 6},
        {&FontTable::Farview(), 2, '7', 10}, {&FontTable::Farview(), 4, '+', 12}, {&FontTable::Panelsim(), 4, '5', 25},
        {&FontTable::Panelsim(), 5, '-', 10},
    };
    for (const Row& row : rows) {
        Painter p(*row.fonts);
        EXPECT_EQ(p.painter.DrawTextRun(std::string(1, row.code), row.font, 40, 30, 3, 0), 40 + row.advance)
            << row.font << " " << row.code;
    }
    // A letter of a font with spacing takes its own width and the spacing.
    Painter p;
    const FontRecord& large = *FontTable::Farview().Get(2);
    EXPECT_EQ(p.painter.DrawTextRun(".", 2, 0, 30, 3, 0), large.GlyphWidth('.') + 2);
    EXPECT_LT(large.GlyphWidth('.'), large.GlyphWidth('W'));
}

TEST(TextPainterGlyph, CodeOutsideTheFontDrawsNothingAndKeepsTheCursor) {
    Painter p;
    EXPECT_EQ(p.painter.DrawTextRun("\x13", 0, 10, 20, 3, 1), 10);  // font 0 starts at 20
    EXPECT_EQ(p.painter.DrawTextRun("\x1F", 2, 10, 40, 3, 1), 10);  // font 2 starts at 32
    EXPECT_EQ(p.painter.DrawTextRun("A", 21, 10, 40, 3, 1), 10);     // no font 21
    EXPECT_EQ(Inked(p.fb), 0);
    Painter panel(FontTable::Panelsim());
    EXPECT_EQ(panel.painter.DrawTextRun("A", 18, 10, 40, 3, 1), 10);
    EXPECT_EQ(panel.painter.DrawTextRun("\x1F", 2, 10, 40, 3, 1), 12);  // its large fonts start at 31: a blank
}

TEST(TextPainterClip, TextRunsOffTheRightEdgeAndFarAwayWithoutHarm) {
    Painter p;
    const int end = p.painter.DrawTextRun(std::string(60, 'M'), 0, 250, 12, 3, 3);
    EXPECT_EQ(end, TextPainter::kClipColumn);
    EXPECT_EQ(Art(p.fb, 248, 5, 255, 5), "..333333\n");
    Painter far;
    far.painter.DrawTextRun("MMMM", 4, 65535, 65535, 3, 3);
    far.painter.DrawTextRun("MMMM", 0, 0, 0, 3, 3);  // above the top: the glyphs start at row 0
    EXPECT_EQ(far.fb.Pixel(0, 0), 3);
}

TEST(TextPainterDoubleByte, CompanionFontBoxesAndBrokenPairs) {
    Painter p;
    EXPECT_EQ(p.painter.DrawTextRun("a\xB0\xA1", 18, 0, 12, 3, 0), 22);
    EXPECT_EQ(Art(p.fb, 0, 0, 22, 12),
              "........33333333333....\n"
              "........3.........3....\n"
              "........3.........3....\n"
              "........3.........3....\n"
              "........3.........3....\n"
              ".333....3.........3....\n"
              "....3...3.........3....\n"
              ".3333...3.........3....\n"
              "3...3...3.........3....\n"
              ".3333...3.........3....\n"
              "........3.........3....\n"
              "........33333333333....\n"
              ".......................\n");
    struct Row {
        int font;
        std::string text;
        int cursor;
    };
    const Row rows[] = {
        {18, "a\xB0", 6},          // a lead byte at the end stops the text
        {19, "\xA0\xA1" "a", 6},   // a pair that is no glyph is skipped
        {18, "\xB0\x41" "a", 6},
        {18, "\xFE\xFE", 0},        // past the last glyph
        {20, "a\xA1\xA1", FontTable::Farview().Get(2)->GlyphWidth('a') + 2 + 20},  // font 20 pairs with font 2
    };
    for (const Row& row : rows) {
        Painter q;
        EXPECT_EQ(q.painter.DrawTextRun(row.text, row.font, 0, 30, 3, 0), row.cursor) << row.font << row.text;
    }
}

}  // namespace
}  // namespace qs::display::test
