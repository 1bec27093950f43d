#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FarviewProgram.h"
#include "Processes.h"
#include "WmDisplay.h"
#include "XWindows.h"

namespace qs::farview::test {
namespace {

using qs::test::SimFrame;
using qs::test::SimProcess;

constexpr const char* kNormalTitle = "^Duravane III Remote Display / Keypad$";

// A simulator that draws its demo screens on its display port, on an address of its own.
std::unique_ptr<SimProcess> DisplaySim(std::vector<std::string> args = {}) {
    SimProcess::Options options;
    options.host = SimProcess::UniqueLoopbackAddress();
    options.args = std::move(args);
    options.args.insert(options.args.end(), {"--display-tcp", options.host + ":7744"});
    return std::make_unique<SimProcess>(options);
}

bool Exited(const std::optional<int>& status) { return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0; }

// Farview over TCP/IP to a simulator, its window up and the demo screens sent.
struct TcpRun {
    void Start(const std::vector<std::string>& extra, const std::string& title) {
        sim = DisplaySim();
        ASSERT_TRUE(sim->Running()) << sim->Error();
        std::vector<std::string> args{"COM0", AddrWord(sim->Host())};
        args.insert(args.end(), extra.begin(), extra.end());
        ASSERT_TRUE(farview.Start(args));
        window = farview.WaitForWindow(title);
        ASSERT_TRUE(window) << farview.Output();
        ASSERT_TRUE(sim->WaitForLog(ScriptSent, std::chrono::seconds(10)));
    }
    std::unique_ptr<SimProcess> sim;
    FarviewProgram farview;
    std::optional<std::string> window;
};

TEST(FarviewOverTcp, TheLcdShowsWhatTheEngineDrawsOnScreenAndInTheDump) {
    if (!qs::test::OnOwnWmDisplay()) return;
    TcpRun run;
    ASSERT_NO_FATAL_FAILURE(run.Start({}, kNormalTitle));
    const display::Framebuffer golden = EngineGolden(run.sim->ReadLog());
    int inked = 0;
    for (uint8_t p : golden.Pixels()) inked += p != 0;
    ASSERT_GT(inked, 500) << "the demo screens draw something";

    const auto origin = ClientOrigin(*run.window);
    ASSERT_TRUE(origin);
    const int lcdX = origin->first + 251, lcdY = origin->second + 143;
    const std::string shot = qs::test::ScreenshotPath("farview-tcp.png");
    std::vector<int> onScreen;
    EXPECT_TRUE(qs::test::WaitUntil(
        [&] {
            onScreen = LcdOnScreen(lcdX, lcdY, shot);
            return onScreen == ShownColumns(golden);
        },
        std::chrono::seconds(15)))
        << "the screen at " << lcdX << "," << lcdY << " never showed the demo screens; see " << shot;

    ASSERT_TRUE(Exited(run.farview.Terminate())) << run.farview.Output();
    const auto dump = run.farview.ReadDump(0);
    ASSERT_TRUE(dump);
    EXPECT_EQ(dump->pixels.Pixels(), golden.Pixels()) << "all 256 columns, as the engine draws them";
    EXPECT_EQ(dump->x, lcdX);
    EXPECT_EQ(dump->y, lcdY);
    EXPECT_EQ(onScreen, ShownColumns(dump->pixels)) << "the screen shows columns 0-247 of the dump";
    EXPECT_FALSE(run.farview.ReadDump(1)) << "one LCD in the normal layout";
}

TEST(FarviewOverTcp, AKeyPressedOnThePcIsOneKeyFrameWithoutReplies) {
    if (!qs::test::OnOwnWmDisplay()) return;
    TcpRun run;
    ASSERT_NO_FATAL_FAILURE(run.Start({}, kNormalTitle));
    ASSERT_EQ(qs::test::RunTool({"xdotool", "windowactivate", "--sync", *run.window}).status, 0);
    ASSERT_EQ(qs::test::RunTool({"xdotool", "key", "F7"}).status, 0);
    ASSERT_TRUE(run.sim->WaitForLog([](const std::vector<SimFrame>& log) { return !KeysReceived(log).empty(); }));
    // Whatever else was to come has come by the time the demo shows the key.
    ASSERT_TRUE(run.sim->WaitForLog([](const std::vector<SimFrame>& log) {
        for (const SimFrame& f : log) {
            if (f.Sent() && f.text == "show key") return true;
        }
        return false;
    }));
    ASSERT_TRUE(Exited(run.farview.Terminate(SIGINT))) << "Ctrl+C ends it as closing does";
    EXPECT_TRUE(run.farview.ReadDump(0));
    const std::vector<SimFrame> keys = KeysReceived(run.sim->ReadLog());
    ASSERT_EQ(keys.size(), 1u) << "one frame for the press and release, no acknowledgements, no 0xF8";
    EXPECT_EQ(keys[0].kind, "key");
    EXPECT_EQ(keys[0].text, "key 41");
    EXPECT_EQ(keys[0].address, 0);
    EXPECT_EQ(keys[0].error, "") << "CRC and time stamp checked by the simulator";
    EXPECT_EQ(keys[0].bytes.size(), 16u);
}

// Quillset's part of a serial hand-over: the "SV " request in minicomputer framing.
void HandOver(const std::string& pty) {
    std::string body = std::string("01SV ") + '\x04' + '\x16' + '\x46' + '\xFE' + '\x03';
    uint8_t lrc = 0;
    for (char c : body) lrc ^= static_cast<uint8_t>(c);
    const std::string request = "\x02" + body + std::string{static_cast<char>(lrc), '\x7F', '\0'};
    const int fd = ::open(pty.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    ::close(fd);
}

TEST(FarviewOverSerial, MasterAnswersEveryRequestAndGivesTheLineBackOnSigterm) {
    SimProcess sim(SimProcess::Options{.args = {"--display-handover"}, .tcp = false, .pty = true});
    ASSERT_TRUE(sim.Running()) << sim.Error();
    HandOver(sim.PtyPath());
    ASSERT_TRUE(sim.WaitForLog([](const std::vector<SimFrame>& log) { return !log.empty(); }));
    FarviewProgram farview({"COM5=" + sim.PtyPath()});
    ASSERT_TRUE(farview.Start({"MASTER", "COM5"}));
    const std::vector<std::string> replies{"reply F0", "reply FB", "reply 06", "reply 06", "reply 06",
                                           "reply F1", "reply 06", "reply F1", "reply 06"};
    ASSERT_TRUE(sim.WaitForLog([&](const std::vector<SimFrame>& log) { return KeysReceived(log).size() >= replies.size(); },
                               std::chrono::seconds(20)))
        << farview.Output();
    ASSERT_TRUE(Exited(farview.Terminate())) << farview.Output();
    std::vector<std::string> got;
    for (const SimFrame& key : KeysReceived(sim.ReadLog())) {
        got.push_back(key.text + (key.error.empty() ? "" : " [" + key.error + "]"));
        EXPECT_EQ(key.transport, "pty");
    }
    std::vector<std::string> expected = replies;
    expected.push_back("exit");
    EXPECT_EQ(got, expected);
}

TEST(FarviewQuad, TheFourDisplayFaceplateHasItsTitleAndTwoScreens) {
    if (!qs::test::OnOwnWmDisplay()) return;
    TcpRun run;
    ASSERT_NO_FATAL_FAILURE(run.Start({"QUAD"}, "^Duravane IIIQ Remote Display / Keypad$"));
    const auto origin = ClientOrigin(*run.window);
    ASSERT_TRUE(origin);
    qs::test::RunTool({"import", "-window", "root", qs::test::ScreenshotPath("farview-quad.png")});
    ASSERT_TRUE(Exited(run.farview.Terminate()));
    ASSERT_TRUE(run.farview.ReadDump(0));
    ASSERT_TRUE(run.farview.ReadDump(1));
    EXPECT_EQ(run.farview.ReadDump(0)->y, origin->second + 191);
    EXPECT_EQ(run.farview.ReadDump(1)->y, origin->second + 367);
}

}  // namespace
}  // namespace qs::farview::test
