#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "DisplayTestKit.h"
#include "emulators/display/DisplayEngine.h"
#include "emulators/display/TextPainter.h"

namespace qs::display::test {
namespace {

// Adds window `id` with the display byte and makes it current with `flags`.
void Window(DisplayEngine& e, uint16_t id, uint8_t displayByte, uint8_t flags) {
    DisplayList& l = e.List();
    ASSERT_TRUE(l.AddWindow(id, displayByte));
    ASSERT_TRUE(l.SelectWindow(id, flags, displayByte & 3));
}

DisplayObject& Text(DisplayEngine& e, uint16_t window, int display, uint16_t id, uint8_t type, const char* format,
                    std::vector<uint8_t> payload, int x = 4, int y = 20) {
    DisplayList& l = e.List();
    DisplayObject* o = l.AddDisplayObject(id, display);
    o->type = type;
    o->x = static_cast<uint16_t>(x);
    o->y = static_cast<uint16_t>(y);
    o->colours = 0x03;
    std::memcpy(o->format.data(), format, std::min(std::strlen(format), o->format.size() - 1));
    EXPECT_TRUE(l.SetPayload(*o, display, std::move(payload)));
    EXPECT_TRUE(l.AttachDisplayObject(window, id, display));
    return *o;
}

// What TextPainter alone makes of a text, for comparing with what the engine drew.
std::string Reference(const std::string& text, int font, int x, int y, const FontTable& fonts, int right, int top) {
    Framebuffer fb;
    TextPainter(fb, fonts).DrawTextRun(text, font, x, y, 3, 0);
    return Art(fb, x, top, right, y - 1);
}

TEST(DisplayEngineBoot, IndicatorTurnsOneStepPerRedraw) {
    DisplayEngine e(DisplayVariant::RemoteDisplay, 1);
    Framebuffer scratch;
    const int at = TextPainter(scratch, e.Fonts()).DrawTextRun("Initializing...", 0, 50, 60, 3, 0);
    for (char expected : std::string("-\\|/-\\")) {
        e.RedrawDisplays();
        EXPECT_EQ(Art(e.GetFramebuffer(0), at, 48, at + 7, 59), Reference(std::string(1, expected), 0, at, 60, e.Fonts(), at + 7, 48))
            << expected;
    }
    EXPECT_EQ(e.IndicatorSteps(), 6u);
    EXPECT_TRUE(e.FullWidth(0));
    EXPECT_TRUE(e.FullWidth(1));
}

TEST(DisplayEngineBoot, TitleOnceBannerEveryTime) {
    struct Row {
        DisplayVariant variant;
        const char* title;
        int x, font, bannerX;
    };
    const Row rows[] = {
        {DisplayVariant::RemoteDisplay, "DuravaneIII RemoteDisplay", 0, 2, 24},
        {DisplayVariant::OperatorPanel, "Duravane III MMI", 40, 5, 10},
    };
    for (const Row& row : rows) {
        DisplayEngine e(row.variant, 2);
        e.RedrawDisplays();
        const int height = e.Fonts().Get(row.font)->height;
        EXPECT_EQ(Art(e.GetFramebuffer(0), row.x, 44 - height, 239, 43),
                  Reference(row.title, row.font, row.x, 44, e.Fonts(), 239, 44 - height));
        EXPECT_EQ(Art(e.GetFramebuffer(0), row.bannerX, 4, 239, 15),
                  Reference(DisplayEngine::kBanner, 0, row.bannerX, 16, e.Fonts(), 239, 4));
        e.Target(0).Clear();
        e.RedrawDisplays();
        EXPECT_EQ(Art(e.GetFramebuffer(0), 0, 18, 255, 43), Art(Framebuffer(), 0, 18, 255, 43));
        EXPECT_NE(Art(e.GetFramebuffer(0), 0, 4, 255, 15), Art(Framebuffer(), 0, 4, 255, 15));
        EXPECT_EQ(Inked(e.GetFramebuffer(1)), 0);
    }
}

TEST(DisplayEngineBoot, ThePanelTurnsOnScreenZeroWhileOnlyDisplayTwoHasAWindow) {
    struct Row {
        DisplayVariant variant;
        unsigned steps;  // after two redraws
        bool screenOneDrawn;
    };
    const Row rows[] = {{DisplayVariant::OperatorPanel, 2, true}, {DisplayVariant::RemoteDisplay, 0, true}};
    for (const Row& row : rows) {
        DisplayEngine e(row.variant, 2);
        Window(e, 1, 2, 0x90);
        Text(e, 1, 2, 1, 0x00, "%s", {'S', 0});
        e.RedrawDisplays();
        e.RedrawDisplays();
        EXPECT_EQ(e.IndicatorSteps(), row.steps);
        EXPECT_EQ(Inked(e.GetFramebuffer(0)) > 0, row.steps > 0);
        EXPECT_GT(Inked(e.GetFramebuffer(1)), 0) << "screen 1 shows its window meanwhile";
        // Once display 0 has a window the indicator stops.
        Window(e, 7, 0, 0x90);
        e.RedrawDisplays();
        EXPECT_EQ(e.IndicatorSteps(), row.steps);
    }
}

TEST(DisplayEngineFrames, SplitAndQuadLayouts) {
    DisplayEngine e(DisplayVariant::RemoteDisplay, 2);
    for (uint8_t d = 0; d < 4; ++d) Window(e, static_cast<uint16_t>(10 + d), static_cast<uint8_t>(0x04 | d), 0x11);
    e.RedrawDisplays();
    // Screen 0: display 0 active (frame 3), display 1 not (frame 0); each half cleared to 1.
    EXPECT_EQ(Art(e.GetFramebuffer(0), 0, 0, 3, 2), "3333\n3111\n3111\n");
    EXPECT_EQ(Art(e.GetFramebuffer(0), 116, 0, 123, 2), "3333....\n1113.111\n1113.111\n");
    EXPECT_EQ(Art(e.GetFramebuffer(0), 236, 61, 241, 63), "111.1.\n111.1.\n...11.\n");
    // Screen 1: the active display is elsewhere, so the dotted divider is drawn.
    EXPECT_EQ(Art(e.GetFramebuffer(1), 116, 0, 123, 3), "...33...\n111..111\n11133111\n111..111\n");
    EXPECT_FALSE(e.FullWidth(0));
    EXPECT_FALSE(e.FullWidth(1));
}

TEST(DisplayEngineFrames, FullWidthShowsOnlyTheScreensActiveDisplay) {
    DisplayEngine e(DisplayVariant::RemoteDisplay, 2);
    Window(e, 1, 0x00, 0x10);
    Window(e, 2, 0x02, 0x12);
    Window(e, 3, 0x03, 0x13);
    e.RedrawDisplays();
    // Display 2 is screen 1's active display before any request; the frame is drawn because
    // the four-display layout is in use, in colour 0 since display 0 is the active one.
    EXPECT_EQ(Art(e.GetFramebuffer(1), 0, 0, 3, 1), "....\n.222\n");
    EXPECT_EQ(Art(e.GetFramebuffer(1), 237, 1, 241, 1), "22.22\n");
    EXPECT_EQ(Art(e.GetFramebuffer(0), 0, 0, 3, 1), "3333\n3...\n");
    e.SetActiveDisplay(3);
    e.List().SelectWindow(3, 0x13, 3);
    e.RedrawDisplays();
    EXPECT_EQ(Art(e.GetFramebuffer(1), 0, 0, 3, 1), "3333\n3333\n");
    EXPECT_EQ(Art(e.GetFramebuffer(0), 0, 0, 3, 1), "....\n....\n");  // display 0 no longer active
}

TEST(DisplayEngineFrames, NormalLayoutDrawsBothScreensIntoOneBitmap) {
    DisplayEngine e(DisplayVariant::RemoteDisplay, 1);
    Window(e, 1, 0x02, 0x12);
    e.RedrawDisplays();
    EXPECT_EQ(e.FramebufferCount(), 1);
    EXPECT_EQ(e.GetFramebuffer(0).Pixel(5, 5), 2);
    e.ClearScreenOf(3);
    EXPECT_EQ(Inked(e.GetFramebuffer(0)), 0);
}

TEST(DisplayEngineObjects, NumbersAndHostileFormats) {
    struct Row {
        uint8_t type;
        const char* format;
        std::vector<uint8_t> payload;
        std::string drawn;  // "" draws nothing
    };
    const Row rows[] = {
        {0x02, "%5d", {0x34, 0x12, 0}, " 4660"},
        {0x02, "%n", {0x34, 0x12, 0}, ""},
        {0x02, "%s", {0x34, 0x12, 0}, ""},
        {0x03, "%d", {0x34, 0x12, 0}, ""},
        {0x00, "%s", {'O', 'K', 0}, "OK"},
        {0x00, "Fixed", {0}, "Fixed"},
    };
    for (const Row& row : rows) {
        DisplayEngine e(DisplayVariant::RemoteDisplay, 1);
        Window(e, 1, 0, 0);
        Text(e, 1, 0, 9, row.type, row.format, row.payload, 4, 20);
        e.RedrawDisplays();
        const std::string expected = row.drawn.empty() ? Art(Framebuffer(), 0, 0, 255, 63)
                                                       : [&] {
                                                             Framebuffer fb;
                                                             TextPainter(fb, e.Fonts()).DrawTextRun(row.drawn, 0, 4, 20, 3, 0);
                                                             return Art(fb, 0, 0, 255, 63);
                                                         }();
        EXPECT_EQ(Art(e.GetFramebuffer(0), 0, 0, 255, 63), expected) << row.format;
    }
}

TEST(DisplayEngineObjects, DrawOnlyWhenChangedUntilTheWindowAsksForAll) {
    DisplayEngine e(DisplayVariant::RemoteDisplay, 1);
    Window(e, 1, 0, 0);
    Text(e, 1, 0, 9, 0x40, "%s", {'A', 0});
    Text(e, 1, 0, 10, 0x00, "%s", {'B', 0}, 40);
    e.RedrawDisplays();
    const int both = Inked(e.GetFramebuffer(0));
    e.Target(0).Clear();
    e.RedrawDisplays();
    const int alwaysDrawn = Inked(e.GetFramebuffer(0));
    EXPECT_LT(alwaysDrawn, both);
    EXPECT_GT(alwaysDrawn, 0);
    e.Target(0).Clear();
    e.List().SelectWindow(1, DisplayListWindow::kRedrawAll, 0);
    e.RedrawDisplays();
    EXPECT_EQ(Inked(e.GetFramebuffer(0)), both);
    EXPECT_FALSE(e.List().FindDisplayWindow(1, 0)->flags & DisplayListWindow::kRedrawAll);
}

TEST(DisplayEngineObjects, OddSplitDisplayDrawsInTheRightHalf) {
    DisplayEngine e(DisplayVariant::RemoteDisplay, 1);
    Window(e, 1, 0x05, 0);
    DisplayObject& bitmap = Text(e, 1, 1, 9, 0xC0, "", {3, 3, 3, 3, 0}, 2, 5);
    bitmap.x2 = 2;
    bitmap.y2 = 2;
    bitmap.depth = 8;
    e.RedrawDisplays();
    EXPECT_EQ(Art(e.GetFramebuffer(0), 120, 4, 125, 7), "......\n..33..\n..33..\n......\n");
}

}  // namespace
}  // namespace qs::display::test
