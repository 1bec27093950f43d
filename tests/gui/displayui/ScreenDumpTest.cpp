#include <gtest/gtest.h>

#include "TempDir.h"
#include "emulators/displayui/EmulatorPrompt.h"
#include "emulators/displayui/ScreenDump.h"

namespace qs::displayui {
namespace {

TEST(ScreenDumpFile, HeaderThenEveryPixel) {
    qs::test::TempDir dir;
    display::Framebuffer fb;
    fb.SetPixel(0, 0, 3);
    fb.SetPixel(255, 63, 2);
    ASSERT_TRUE(ScreenDump::Write(dir.Path(), 1, fb, wxPoint(523, -4)));
    const std::string file = dir.Read("screen1.lcd");
    const std::string header = "LCD 256 64 523 -4\n";
    ASSERT_EQ(file.size(), header.size() + 256 * 64);
    EXPECT_EQ(file.substr(0, header.size()), header);
    EXPECT_EQ(file[header.size()], 3);
    EXPECT_EQ(file.back(), 2);
    EXPECT_EQ(file.find('\1', header.size()), std::string::npos);
}

TEST(EmulatorPromptBoxes, ButtonSetsItCannotShowTakeTheCautiousAnswer) {
    EmulatorPrompt prompt("Farview");
    EXPECT_EQ(prompt.MessageBox("x", "", MB_ABORTRETRYIGNORE), IDABORT);
    EXPECT_EQ(prompt.MessageBox("x", "", MB_RETRYCANCEL), IDCANCEL);
}

}  // namespace
}  // namespace qs::displayui
