// Quillset started as a user starts it: its own process on a display with a window manager.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "QuillsetProcess.h"
#include "WmDisplay.h"
#include "XWindows.h"
#include "Processes.h"
#include "platform/IniProfile.h"
#include "platform/InstanceToken.h"

namespace qs::test {

namespace {

using namespace std::chrono_literals;

constexpr const char* kSplashTitle = "^Starting Quillset$";

}  // namespace

TEST(QuillsetStart, ShowsTheSplashThatClosesItselfAndWritesItsToken) {
    if (!OnOwnWmDisplay()) return;
    QuillsetHome home;
    QuillsetProcess quillset(home);
    ASSERT_TRUE(quillset.Started());

    // How long it stays is its timer's (the splash's own test); here it comes and goes.
    ASSERT_TRUE(WaitUntil([] { return !FindWindows(kSplashTitle, true).empty(); }, 15s))
        << "no splash window; output:\n" << quillset.Output();
    const auto main = quillset.WaitForMainWindow();
    ASSERT_TRUE(main) << quillset.Output();
    ASSERT_TRUE(WaitUntil([] { return FindWindows(kSplashTitle, false).empty(); }, 20s)) << "splash never closed";

    IniProfile ini(home.IniPath());
    EXPECT_EQ(InstanceToken::Read(ini), static_cast<uint32_t>(quillset.Pid()));
    char expected[32];
    std::snprintf(expected, sizeof expected, "hWnd=%08X", static_cast<unsigned>(quillset.Pid()));
    EXPECT_NE(home.Read("config/QS3X.INI").find(expected), std::string::npos) << home.Read("config/QS3X.INI");

    const std::string shot = ScreenshotPath("quillset-main-window.png");
    EXPECT_TRUE(Screenshot(*main, shot));
    std::printf("main window: %s\n", shot.c_str());

    EXPECT_EQ(quillset.CloseAndWait(*main), 0) << quillset.Output();
    const std::string settings = home.Read("config/Norvane Technologies/Quillset");
    EXPECT_NE(settings.find("[General]"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Color=1"), std::string::npos) << settings;
    EXPECT_NE(settings.find("ToolTips=1"), std::string::npos) << settings;
    EXPECT_NE(settings.find("[Settings]"), std::string::npos) << settings;
    EXPECT_NE(settings.find("WindowPos=0,1,-1,-1,-1,-1,"), std::string::npos) << settings;
}

TEST(QuillsetStart, ASecondStartBringsBackTheMinimisedFirstAndEnds) {
    if (!OnOwnWmDisplay()) return;
    QuillsetHome home;
    QuillsetProcess first(home);
    const auto window = first.WaitForMainWindow();
    ASSERT_TRUE(window) << first.Output();

    RunTool({"xdotool", "windowminimize", "--sync", *window});
    ASSERT_TRUE(WaitUntil([] { return FindWindows(QuillsetProcess::kMainTitle, true).empty(); }, 15s))
        << "the window manager did not minimise it";
    EXPECT_NE(WindowStates(*window).find("_NET_WM_STATE_HIDDEN"), std::string::npos);

    QuillsetProcess second(home);
    const auto status = second.WaitForExit(30s);
    ASSERT_TRUE(status) << "the second start did not end";
    EXPECT_EQ(*status, 0) << second.Output();

    EXPECT_TRUE(WaitUntil([] { return FindWindows(QuillsetProcess::kMainTitle, true).size() == 1; }, 15s))
        << "the first window did not come back";
    EXPECT_EQ(WindowStates(*window).find("_NET_WM_STATE_HIDDEN"), std::string::npos) << WindowStates(*window);
    EXPECT_EQ(FindWindows(QuillsetProcess::kMainTitle, false).size(), 1u) << "one main window remains";
    EXPECT_FALSE(first.WaitForExit(0ms)) << "the first copy must go on running";
}

TEST(QuillsetStart, TheWindowReopensWhereTheUserLeftIt) {
    if (!OnOwnWmDisplay()) return;
    QuillsetHome home;
    std::optional<WindowGeometry> left;
    {
        QuillsetProcess first(home);
        const auto window = first.WaitForMainWindow();
        ASSERT_TRUE(window) << first.Output();
        RunTool({"xdotool", "windowsize", "--sync", *window, "820", "560"});
        RunTool({"xdotool", "windowmove", "--sync", *window, "230", "170"});
        ASSERT_TRUE(WaitUntil(
            [&] {
                left = GetGeometry(*window);
                return left && left->width == 820 && left->height == 560;
            },
            15s));
        EXPECT_EQ(first.CloseAndWait(*window), 0);
    }
    EXPECT_NE(home.Read("config/Norvane Technologies/Quillset").find("WindowPos=0,1,"), std::string::npos);

    QuillsetProcess second(home);
    const auto window = second.WaitForMainWindow();
    ASSERT_TRUE(window) << second.Output();
    std::optional<WindowGeometry> reopened;
    EXPECT_TRUE(WaitUntil(
        [&] {
            reopened = GetGeometry(*window);
            return reopened && reopened->x == left->x && reopened->y == left->y && reopened->width == left->width &&
                   reopened->height == left->height;
        },
        15s))
        << "left at " << left->x << "," << left->y << " " << left->width << "x" << left->height << ", reopened at "
        << (reopened ? reopened->x : -1) << "," << (reopened ? reopened->y : -1) << " "
        << (reopened ? reopened->width : -1) << "x" << (reopened ? reopened->height : -1);
    EXPECT_EQ(second.CloseAndWait(*window), 0);
}

}  // namespace qs::test
