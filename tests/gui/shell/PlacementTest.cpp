#include <gtest/gtest.h>
#include <wx/display.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ShellFixture.h"
#include "WmDisplay.h"

namespace qs::test {

namespace {

class MainFramePlacement : public ShellFixture {
protected:
    // Starts the frame again from what the settings file holds.
    void Restart() {
        DestroyFrame();
        settings = std::make_unique<SettingsStore>(SettingsPath());
        Shell().settings = settings.get();
        MakeFrame();
    }

    void StoreWindowPos(const std::string& text) {
        settings->WriteString("Settings", "WindowPos", text);
        ASSERT_TRUE(settings->Flush());
    }

    // Puts the frame at `rect` and waits until it stays there: the X server applies a size when it
    // gets to it, and a configure event of the first mapping can arrive after ours and undo it.
    void PlaceAt(const wxRect& rect) {
        int steady = 0;
        ASSERT_TRUE(PumpUntil(
            [&] {
                if (frame->GetRect() != rect) {
                    frame->SetSize(rect);
                    steady = 0;
                    return false;
                }
                PumpFor(50);
                return ++steady >= 4;
            },
            10000));
    }

    std::string StoredWindowPos() {
        SettingsStore reread(SettingsPath());
        return reread.GetString("Settings", "WindowPos");
    }

    // Where the default placement puts the frame.
    static wxRect DefaultRect() {
        const wxRect screen = wxDisplay(0u).GetClientArea();
        return wxRect((screen.width - CMainFrame::kDefaultWidth) / 2 + screen.x,
                      (screen.height - CMainFrame::kDefaultHeight) / 2 + screen.y, CMainFrame::kDefaultWidth,
                      CMainFrame::kDefaultHeight);
    }
};

bool Near(const wxRect& a, const wxRect& b, int slack) {
    return std::abs(a.x - b.x) <= slack && std::abs(a.y - b.y) <= slack && std::abs(a.width - b.width) <= slack &&
           std::abs(a.height - b.height) <= slack;
}

}  // namespace

TEST_F(MainFramePlacement, TheWindowReopensWhereItWasClosed) {
    PlaceAt(wxRect(150, 120, 800, 600));
    frame->SaveSettings();
    EXPECT_EQ(StoredWindowPos(), "0,1,-1,-1,-1,-1,150,120,950,720");
    Restart();
    EXPECT_TRUE(PumpUntil([&] { return frame->GetRect() == wxRect(150, 120, 800, 600); }, 10000))
        << frame->GetRect().x << "," << frame->GetRect().y << " " << frame->GetRect().width << "x"
        << frame->GetRect().height;
    EXPECT_EQ(frame->CurrentPlacement().Format(), "0,1,-1,-1,-1,-1,150,120,950,720");
}

TEST_F(MainFramePlacement, AnUnusableValueGivesTheDefaultPlacement) {
    for (const char* bad : {"", "garbage", "0,1,-1,-1,-1,-1,150,120,950",  // nine fields
                            "0,1,-1,-1,-1,-1,5000,100,5800,700",          // right of every screen
                            "0,1,-1,-1,-1,-1,100,-2000,900,-1400",        // above every screen
                            "0,1,-1,-1,-1,-1,900,100,100,700"}) {         // inside out
        StoreWindowPos(bad);
        Restart();
        EXPECT_TRUE(Near(frame->GetRect(), DefaultRect(), 2)) << '"' << bad << "\" gave " << frame->GetRect().x << ","
                                                              << frame->GetRect().y << " "
                                                              << frame->GetRect().width << "x"
                                                              << frame->GetRect().height;
    }
}

// With a window manager: maximised and minimised windows.
TEST_F(MainFramePlacement, AMaximisedWindowReopensMaximisedAndAMinimisedOneShown) {
    if (!OnOwnWmDisplay()) return;
    frame->SetSize(100, 80, 820, 610);
    ASSERT_TRUE(PumpUntil([&] { return Near(frame->GetRect(), wxRect(100, 80, 820, 610), 30); }, 10000));
    PumpFor(300);
    const wxRect normal = frame->GetRect();
    frame->Maximize(true);
    ASSERT_TRUE(PumpUntil([&] { return frame->IsMaximized(); }, 5000)) << "the window manager did not maximise it";
    frame->SaveSettings();
    const auto saved = WindowPlacement::Parse(StoredWindowPos());
    ASSERT_TRUE(saved) << StoredWindowPos();
    EXPECT_EQ(saved->flags, 2u);
    EXPECT_EQ(saved->showCmd, 3u);
    EXPECT_TRUE(Near(wxRect(saved->left, saved->top, saved->right - saved->left, saved->bottom - saved->top), normal, 2))
        << "the normal rectangle, not the maximised one, is kept: " << StoredWindowPos();

    Restart();
    EXPECT_TRUE(PumpUntil([&] { return frame->IsMaximized(); }, 5000)) << "not maximised again";
    frame->Maximize(false);
    ASSERT_TRUE(PumpUntil([&] { return !frame->IsMaximized(); }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return Near(frame->GetRect(), normal, 30); }, 10000))
        << "restores to its normal rectangle";

    // Minimised, then closed: it opens shown, over its normal rectangle.
    frame->SetSize(200, 150, 700, 500);
    ASSERT_TRUE(PumpUntil([&] { return Near(frame->GetRect(), wxRect(200, 150, 700, 500), 30); }, 10000));
    PumpFor(300);
    const wxRect before = frame->GetRect();
    frame->Iconize(true);
    ASSERT_TRUE(PumpUntil([&] { return frame->IsIconized(); }, 5000)) << "the window manager did not minimise it";
    frame->SaveSettings();
    const auto minimised = WindowPlacement::Parse(StoredWindowPos());
    ASSERT_TRUE(minimised);
    EXPECT_EQ(minimised->showCmd, 2u);
    Restart();
    EXPECT_TRUE(PumpUntil([&] { return Near(frame->GetRect(), before, 30); }, 10000));
    EXPECT_FALSE(frame->IsIconized());
    EXPECT_FALSE(frame->IsMaximized());
}

TEST_F(MainFramePlacement, TheSettingsFileIsBoundedAndWrittenWhole) {
    const std::string path = SettingsPath();
    settings->WriteInt("General", "Color", 0);
    settings->WriteString("Settings", "WindowPos", "0,1,-1,-1,-1,-1,10,10,700,500");
    ASSERT_TRUE(settings->Flush());
    {
        SettingsStore again(path);
        EXPECT_EQ(again.GetInt("General", "Color", 1), 0);
        EXPECT_EQ(again.GetString("Settings", "WindowPos"), "0,1,-1,-1,-1,-1,10,10,700,500");
        EXPECT_EQ(again.GetInt("General", "Missing", 7), 7);
    }
    // Nothing but the file itself is left in its folder.
    const std::string folder = path.substr(0, path.rfind('/'));
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);

    // An oversized file is not read: the settings start from their defaults.
    {
        std::ofstream big(path, std::ios::trunc);
        big << "[General]\nColor=0\n";
        big << "[Padding]\n";
        for (size_t i = 0; i < SettingsStore::kMaxFileBytes / 16 + 1; ++i) big << "k" << i << "=0123456789\n";
    }
    SettingsStore oversized(path);
    EXPECT_EQ(oversized.GetInt("General", "Color", 1), 1);

    // A long value is handed out cut to its bound.
    settings->WriteString("General", "Long", std::string(5000, 'x'));
    EXPECT_EQ(settings->GetString("General", "Long").size(), SettingsStore::kMaxValueLength);
}

}  // namespace qs::test
