// Panelsim run as its user runs it, on the simulator's serial line in its multi-arm mode.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DeviceFrames.h"
#include "EmulatorProgram.h"
#include "Processes.h"
#include "WmDisplay.h"
#include "XWindows.h"
#include "emulators/display/TextPainter.h"
#include "emulators/displayui/FaceplateLayout.h"

namespace qs::test {
namespace {

constexpr const char* kTitle = "^Duravane III MMI$";

bool Exited(const std::optional<int>& status) { return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0; }

// Quillset's part of the hand-over: the "SV " 0417 request in minicomputer framing.
void HandOver(const std::string& pty) {
    const std::string request = BlockRequestBytes(1, std::string("SV \x04\x17\x46\xFE", 7));
    const int fd = ::open(pty.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    ::close(fd);
}

// The key frames the simulator received, as (text, address, flags byte).
struct Key {
    std::string text;
    int address;
    int flags;
};
std::vector<Key> Keys(const std::vector<SimFrame>& log) {
    std::vector<Key> keys;
    for (const SimFrame& f : KeysReceived(log)) {
        keys.push_back({f.text, f.address, f.bytes.size() == 16 ? static_cast<uint8_t>(f.bytes[11]) : -1});
    }
    return keys;
}

bool Sent(const std::vector<SimFrame>& log, const std::string& name) {
    for (const SimFrame& f : log) {
        if (f.Sent() && f.text == name) return true;
    }
    return false;
}

// The status LCD as the arms' status lines draw it: one text a row from row 14, 12 apart.
display::Framebuffer StatusLines(const std::vector<std::string>& texts) {
    display::Framebuffer fb;
    display::DisplayEngine fonts(display::DisplayVariant::OperatorPanel, 1);
    for (size_t i = 0; i < texts.size(); ++i) {
        display::TextPainter(fb, fonts.Fonts()).DrawTextRun(texts[i], 0, 0, static_cast<int>(14 + 12 * i), 3, 0);
    }
    return fb;
}

std::string Padded(const std::string& text) { return text + std::string(29 - text.size(), ' '); }

// Clicks a key button of the faceplate whose client area is at `origin`.
void Click(const std::pair<int, int>& origin, int id) {
    const wxRect at = displayui::FaceplateLayout::Panel().KeyRect(id);
    RunTool({"xdotool", "mousemove", std::to_string(origin.first + at.x + at.width / 2),
             std::to_string(origin.second + at.y + at.height / 2), "click", "1"});
}

TEST(PanelsimOnTheArmsLine, StatusLinesF1AttentionAndTheExitKey) {
    if (!OnOwnWmDisplay()) return;
    SimProcess sim(SimProcess::Options{
        .args = {"--display-handover", "--addresses", "1-3", "--arm-flags", "2=01"}, .tcp = false, .pty = true});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    HandOver(sim.PtyPath());
    ASSERT_TRUE(sim.WaitForLog([](const std::vector<SimFrame>& log) { return !log.empty(); }));
    EmulatorProgram panelsim("panelsim", {"COM1=" + sim.PtyPath()});
    ASSERT_TRUE(panelsim.Start({"COM1", "ARMS", "01,02,03"}));
    const std::optional<std::string> window = panelsim.WaitForWindow(kTitle);
    ASSERT_TRUE(window) << panelsim.Output();
    const auto origin = ClientOrigin(*window);
    ASSERT_TRUE(origin);

    // Arm 1 is current: the status lines show arm 2 (needing attention) and arm 3.
    ASSERT_TRUE(sim.WaitForLog([](const std::vector<SimFrame>& log) { return ScriptSent(log) && Sent(log, "status line 3"); },
                               std::chrono::seconds(20)));
    const std::vector<int> expected = ShownColumns(StatusLines({Padded("Arm 2 ATTENTION"), Padded("Arm 3 idle")}));
    const std::string shot = ScreenshotPath("panelsim-arms.png");
    std::vector<int> onScreen;
    EXPECT_TRUE(WaitUntil(
        [&] {
            onScreen = LcdOnScreen(origin->first + 230, origin->second + 267, shot);
            return onScreen == expected;
        },
        std::chrono::seconds(15)))
        << "the second LCD never showed the status lines; see " << shot;

    // F1 makes arm 2 current: the next key goes to address 2, marked as the current arm's,
    // with the one arm needing attention counted.
    ASSERT_EQ(RunTool({"xdotool", "windowactivate", "--sync", *window}).status, 0);
    Click(*origin, 1012);
    Click(*origin, 1004);
    ASSERT_TRUE(sim.WaitForLog([](const std::vector<SimFrame>& log) { return Sent(log, "show key"); }, std::chrono::seconds(10)));
    // The status lines follow once arms 3 and 1 have been polled again.
    const std::vector<int> after = ShownColumns(StatusLines({Padded("Arm 3 idle"), Padded("Arm 1 idle")}));
    const std::string f1Shot = ScreenshotPath("panelsim-f1.png");
    EXPECT_TRUE(WaitUntil(
        [&] {
            onScreen = LcdOnScreen(origin->first + 230, origin->second + 267, f1Shot);
            return onScreen == after;
        },
        std::chrono::seconds(15)))
        << "the second LCD never showed the arms around arm 2; see " << f1Shot;
    Screenshot("root", f1Shot);
    ASSERT_TRUE(Exited(panelsim.Terminate())) << panelsim.Output();

    const std::vector<SimFrame> log = sim.ReadLog();
    std::vector<Key> keys;
    for (const Key& key : Keys(log)) {
        if (key.text.rfind("poll", 0) != 0) keys.push_back(key);
    }
    ASSERT_GE(keys.size(), 3u);
    EXPECT_EQ(keys[0].text, "hello 2") << "0xFF to the arm polled after the first";
    EXPECT_EQ(keys[keys.size() - 2].text, "key 35");
    EXPECT_EQ(keys[keys.size() - 2].address, 2);
    EXPECT_EQ(keys[keys.size() - 2].flags, 0x81);
    EXPECT_EQ(keys.back().text, "exit");
    EXPECT_EQ(keys.back().address, 0);
    EXPECT_EQ(keys.back().flags, 0x01);
    for (const SimFrame& f : KeysReceived(log)) EXPECT_EQ(f.error, "") << f.text;
    EXPECT_TRUE(Sent(log, "show arm 2")) << "the display followed the current arm";

    // What the LCDs held at the end: the device's display as the engine draws it, and the status
    // lines of arms 3 and 1 around the current arm 2.
    const auto screen0 = panelsim.ReadDump(0);
    const auto screen1 = panelsim.ReadDump(1);
    ASSERT_TRUE(screen0 && screen1);
    EXPECT_EQ(screen0->pixels.Pixels(), EngineGolden(log, display::DisplayVariant::OperatorPanel).Pixels());
    EXPECT_EQ(screen1->pixels.Pixels(), StatusLines({Padded("Arm 3 idle"), Padded("Arm 1 idle")}).Pixels());
}

}  // namespace
}  // namespace qs::test
