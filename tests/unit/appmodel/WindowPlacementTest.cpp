#include <gtest/gtest.h>

#include "appmodel/shell/WindowPlacement.h"

namespace qs::test {

namespace {

using Rect = WindowPlacement::Rect;
const std::vector<Rect> kOneScreen = {{0, 0, 1280, 1024}};
// A second screen to the right of the first, lower and smaller.
const std::vector<Rect> kTwoScreens = {{0, 0, 1280, 1024}, {1280, 200, 1024, 768}};

}  // namespace

TEST(WindowPlacement, ParsesTheTenFieldsAndFormatsThemBack) {
    const auto p = WindowPlacement::Parse("2,3,-1,-1,-8,-30,40,50,1000,760");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->flags, 2u);
    EXPECT_EQ(p->showCmd, 3u);
    EXPECT_EQ(p->minX, -1);
    EXPECT_EQ(p->maxY, -30);
    EXPECT_EQ(p->left, 40);
    EXPECT_EQ(p->bottom, 760);
    EXPECT_EQ(p->Format(), "2,3,-1,-1,-8,-30,40,50,1000,760");
    EXPECT_EQ(WindowPlacement::Parse(p->Format()), p);

    const auto spaced = WindowPlacement::Parse(" 0, 1 ,-1,-1,-1,-1, 10,20,900,700 ");
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->Format(), "0,1,-1,-1,-1,-1,10,20,900,700");
}

TEST(WindowPlacement, AnythingButTenNumbersIsNoPlacement) {
    for (const char* bad : {"", "0,1,-1,-1,-1,-1,10,20,900",      // nine fields
                            "0,1,-1,-1,-1,-1,10,20,900,700,5",     // eleven
                            "0,1,-1,-1,-1,-1,10,20,900,700,",      // trailing comma
                            "0,1,-1,-1,-1,-1,10,20,900,7OO",       // letter O
                            "0,1,-1,-1,-1,-1,10,20,,700",          // empty field
                            "-1,1,-1,-1,-1,-1,10,20,900,700",      // negative flags
                            "0,-3,-1,-1,-1,-1,10,20,900,700",      // negative show command
                            "0,1,-1,-1,-1,-1,10,20,99999999999,700",  // beyond 32 bits
                            "0;1;-1;-1;-1;-1;10;20;900;700", "0,1,-1,-1,-1,-1,10,20,900,+700"}) {
        EXPECT_FALSE(WindowPlacement::Parse(bad)) << bad;
    }
    std::string longText = "0,1,-1,-1,-1,-1,10,20,900,700";
    longText.insert(0, WindowPlacement::kMaxTextLength, ' ');
    EXPECT_FALSE(WindowPlacement::Parse(longText)) << "overlong text";
}

TEST(WindowPlacement, NormalAndMaximisedWindowsReopenAsTheyClosed) {
    auto normal = WindowPlacement::Parse("0,1,-1,-1,-1,-1,100,80,900,680");
    auto r = normal->Resolve(kOneScreen);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->normal, (Rect{100, 80, 800, 600}));
    EXPECT_FALSE(r->maximized);

    auto maximized = WindowPlacement::Parse("2,3,-1,-1,-1,-1,100,80,900,680");
    r = maximized->Resolve(kOneScreen);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->maximized);
    EXPECT_EQ(r->normal, (Rect{100, 80, 800, 600})) << "the restored frame stays the normal one";
}

TEST(WindowPlacement, AMinimisedWindowOpensShownOverItsNormalRectangle) {
    for (unsigned show : {2u, 6u, 7u}) {
        WindowPlacement p;
        p.showCmd = show;
        p.left = 200, p.top = 150, p.right = 1000, p.bottom = 750;
        auto r = p.Resolve(kOneScreen);
        ASSERT_TRUE(r) << show;
        EXPECT_FALSE(r->maximized) << show;
        EXPECT_EQ(r->normal, (Rect{200, 150, 800, 600}));
        p.flags = WindowPlacement::kWpfRestoreToMaximized;
        r = p.Resolve(kOneScreen);
        ASSERT_TRUE(r);
        EXPECT_TRUE(r->maximized) << "minimised from maximised comes back maximised";
    }
    WindowPlacement hidden;
    hidden.showCmd = WindowPlacement::kSwHide;
    hidden.left = 10, hidden.top = 10, hidden.right = 700, hidden.bottom = 500;
    auto r = hidden.Resolve(kOneScreen);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->maximized);
}

TEST(WindowPlacement, OffScreenOrMalformedRectanglesFallBackToTheDefault) {
    struct Case {
        const char* text;
        bool usable;
    };
    const Case cases[] = {
        {"0,1,-1,-1,-1,-1,3000,100,3800,700", false},     // right of the only screen
        {"0,1,-1,-1,-1,-1,-900,100,-100,700", false},     // left of it
        {"0,1,-1,-1,-1,-1,100,-650,900,-50", false},      // above: title bar unreachable
        {"0,1,-1,-1,-1,-1,100,1020,900,1620", false},     // only 4 px of the top strip visible
        {"0,1,-1,-1,-1,-1,-760,100,40,700", false},       // 40 px of the top edge visible
        {"0,1,-1,-1,-1,-1,-740,100,60,700", true},        // 60 px: can still be dragged back
        {"0,1,-1,-1,-1,-1,900,100,100,700", false},       // right before left
        {"0,1,-1,-1,-1,-1,100,100,150,700", false},       // too narrow to use
        {"0,1,-1,-1,-1,-1,100,100,900,120", false},       // too low
        {"0,1,-1,-1,-1,-1,0,0,40000,700", false},         // absurd width
        {"0,1,-1,-1,-1,-1,-2147483648,0,2147483647,700", false},
    };
    for (const auto& c : cases) {
        const auto p = WindowPlacement::Parse(c.text);
        ASSERT_TRUE(p) << c.text;
        EXPECT_EQ(p->Resolve(kOneScreen).has_value(), c.usable) << c.text;
    }
    EXPECT_FALSE(WindowPlacement::Parse("0,1,-1,-1,-1,-1,100,80,900,680")->Resolve({})) << "no screens at all";
}

TEST(WindowPlacement, AWindowOnASecondScreenIsKeptWhileThatScreenIsThere) {
    const auto p = WindowPlacement::Parse("0,1,-1,-1,-1,-1,1400,300,2200,900");
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->Resolve(kTwoScreens));
    EXPECT_FALSE(p->Resolve(kOneScreen)) << "its screen was unplugged";
    // Over the gap above the lower second screen: the top edge is on no screen.
    const auto gap = WindowPlacement::Parse("0,1,-1,-1,-1,-1,1400,20,2200,600");
    EXPECT_FALSE(gap->Resolve(kTwoScreens));
}

}  // namespace qs::test
