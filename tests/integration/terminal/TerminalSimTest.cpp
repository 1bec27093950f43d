// The terminal against the simulated controller: what typed lines, macros, WAITFOR and PT
// put on the wire and what comes back into the transcript, REPORT.TXT and the log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../unit/appmodel/TerminalHostFake.h"
#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "SimRig.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "appmodel/terminal/TerminalSession.h"
#include "link/ComPortTable.h"
#include "platform/ProcessLauncher.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {
namespace {

constexpr int kBase = 2;  // arm 1
constexpr int kArm2 = 5;
const std::string kClear(16, '0');
const std::string kAuSet = "1" + std::string(15, '0');

std::vector<std::string> Arguments(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--addresses", "2,5,9"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

class TerminalSim : public ::testing::Test {
protected:
    void Open(SimRig& device, Framing framing = Framing::Terminal) {
        ASSERT_TRUE(device.Ready()) << device.Error();
        doc = std::make_unique<CVexa3Doc>(ports, BuiltDictionary());
        device.Attach(*doc, framing);
        doc->SetBaseAddress(kBase);
        doc->SetArmAddress(1, kArm2);
        for (int arm = 2; arm < CVexa3Doc::kMaxArms; ++arm) doc->SetArmAddress(arm, 0);
        ASSERT_GE(doc->Connect(true), CVexa3Doc::kStateReadOnly) << ui.LastMessage();
        ui.prompt.shown.clear();
        ui.services.clock = &clock;
        session = std::make_unique<TerminalSession>(*doc, ui.services, host, launcher, files.File("REPORT.TXT"));
        session->Start();
        connectFrames = device.Exchanges().size();
    }
    // Typed, or pasted with its line end (typing would upper-case the start of a path).
    void Type(const std::string& keys) { host.Type(*session, keys); }
    void Paste(const std::string& line) {
        session->OnEntryChanged(line + "\n");
        host.RunPosted(*session);
    }
    std::string Macro(const std::string& name, const std::vector<std::string>& lines) const {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        files.Write(name, text);
        return files.File(name);
    }
    // The terminal's exchanges, after those of connecting.
    std::vector<Exchange> Terminal(const SimRig& device) const {
        std::vector<Exchange> all = device.Exchanges();
        all.erase(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(std::min(connectFrames, all.size())));
        return all;
    }
    std::vector<int> AddressesOf(const std::vector<Exchange>& exchanges) const {
        std::vector<int> out;
        for (const Exchange& e : exchanges) out.push_back(e.address);
        return out;
    }
    std::vector<std::string> Lines() const { return TranscriptLines(session->Transcript()); }

    TempDir files;
    RecordingUi ui;
    FakeClock clock;
    FakeTerminalHost host{clock};
    ComPortTable ports;
    ProcessLauncher launcher;
    std::unique_ptr<CVexa3Doc> doc;
    std::unique_ptr<TerminalSession> session;
    size_t connectFrames = 0;
};

TEST_F(TerminalSim, TypedStatusGoesToTheSelectedArmAndOneLetterGoesNowhere) {
    SimRig device({Transport::Tcp, Arguments({"--status", "2=0123456789ABCDEF", "--status", "5=" + kAuSet})});
    Open(device);
    Type("eq\n");
    Type("e\n");
    session->SelectArm(1);
    host.entry.clear();
    Type("EQ\n");
    const std::vector<Exchange> sent = Terminal(device);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(AddressesOf(sent), (std::vector<int>{kBase, kArm2}));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"02" + Padded("EQ", 40) + " 0123456789:;<=>?",
                                                 "05" + Padded("EQ", 40) + " " + kAuSet}));
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(TerminalSim, ArmAndAddressMoveOnlyTheLinesOfTheMacroAfterThem) {
    SimRig device({Transport::Tcp, Arguments()});
    Open(device);
    Paste("PLAY " + Macro("ARMS.MAC", {"ARM 2", "GP", "ARM 0", "GP", "ARM 7", "GP", "ADDRESS 9", "GP"}));
    Type("GP\n");
    EXPECT_EQ(AddressesOf(Terminal(device)), (std::vector<int>{kArm2, kBase, kBase, 9, kArm2}))
        << "ARM 7 is refused; the typed line goes to the arm ARM 2 selected";
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[1], Padded("ARM 2", 42) + " Switched to arm 2 ");
    EXPECT_EQ(lines[3], Padded("ARM 0", 42) + " Switched to arm 0 ");
    EXPECT_EQ(lines[5], Padded("ARM 7", 42) + " Arm must be 0 to 6");
    EXPECT_EQ(lines[7], Padded("ADDRESS 9", 42) + " Switched to address 9 ");
    EXPECT_EQ(session->ArmIndex(), 1);
}

TEST_F(TerminalSim, NestedMacrosIndentTheirLines) {
    SimRig device({Transport::Tcp, Arguments()});
    Open(device);
    const std::string c = Macro("C.MAC", {"EQ", "ECHO deep"});
    const std::string b = Macro("B.MAC", {"ECHO in B", "PLAY " + c});
    const std::string a = Macro("A.MAC", {"GP", "PLAY " + b});
    Paste("PLAY " + a);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           Padded("PLAY " + a, 42) + " ",
                           "02" + Padded("GP", 40) + " 0A463B8B",
                           Padded("PLAY " + b, 42) + " ",
                           "  " + Padded("in B", 40) + " ",
                           "  " + Padded("PLAY " + c, 40) + " ",
                           "    02" + Padded("EQ", 36) + " " + kClear,
                           "    " + Padded("deep", 38) + " ",
                       }));
    EXPECT_EQ(session->Depth(), 0);
    EXPECT_EQ(ui.status.texts.back(), TerminalSession::kMacroComplete);
}

TEST_F(TerminalSim, TheTranscriptKeepsItsLast20000Characters) {
    SimRig device({Transport::Tcp, Arguments()});
    Open(device);
    const std::string line = "02" + Padded("GP", 40) + " 0A463B8B\r\n";
    constexpr size_t kLines = 400;
    for (size_t i = 0; i < kLines; ++i) Type("GP\n");
    ASSERT_EQ(Terminal(device).size(), kLines);
    // Back to 20000 each time a line takes it past 20256: at the 383rd line of 53 characters,
    // then at every fifth; two lines since the last.
    ASSERT_EQ(line.size(), 53u);
    EXPECT_EQ(session->Transcript().size(), 20000u + 2 * 53);
    EXPECT_TRUE(session->Transcript().ends_with(line));
    EXPECT_FALSE(session->Transcript().starts_with("02GP")) << "cut inside a line";
}

TEST_F(TerminalSim, WaitForPollsUntilTheFlagIsSetOrClearAndKnowsItsFlags) {
    // Address 5 refuses its first two polls: a refusal is no status, clear or set.
    SimRig device({Transport::Tcp, Arguments({"--status", "2=" + kClear + "," + kClear + "," + kAuSet, "--status",
                                              "5=" + kAuSet + "," + kClear, "--fault",
                                              "reject=00,address=5,count=2,on=EQ"})});
    Open(device);
    Paste("WAITFOR AU");
    EXPECT_EQ(Terminal(device).size(), 3u);
    session->SelectArm(1);
    Paste("WAITFOR !au  Release the arm");
    const std::vector<Exchange> sent = Terminal(device);
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[3].reply, "NO00");
    EXPECT_EQ(sent[5].reply, kAuSet);
    EXPECT_EQ(sent[6].reply, kClear);
    EXPECT_EQ(AddressesOf(sent), (std::vector<int>{kBase, kBase, kBase, kArm2, kArm2, kArm2, kArm2}));
    EXPECT_EQ(host.pausedMs, 5 * TerminalSession::kPollMs) << "paced between polls";
    EXPECT_EQ(host.beeps, 1);
    ASSERT_EQ(ui.progress.size(), 2u);
    EXPECT_EQ(ui.progress[0]->title, TerminalSession::kWaitTitle);
    EXPECT_EQ(ui.progress[0]->texts, (std::vector<std::string>{"Waiting for AU flag ", ""}));
    EXPECT_EQ(ui.progress[1]->texts, (std::vector<std::string>{"Release the arm", ""}));
    EXPECT_EQ(Lines(), (std::vector<std::string>{Padded("WAITFOR AU", 42) + " ",
                                                 Padded("WAITFOR !au  Release the arm", 42) + " "}));

    Paste("WAITFOR ZZ");
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{TerminalSession::kUnknownFlag});
    EXPECT_EQ(Terminal(device).size(), 7u);
}

TEST_F(TerminalSim, WaitForEndsOnCancelAndAfterOneFailureOfTheLink) {
    SimRig device({Transport::Tcp, Arguments({"--fault", "close,skip=4,on=EQ"})});
    Open(device);
    ui.CancelAfterPumps(3);
    Paste("WAITFOR AU");
    EXPECT_EQ(Terminal(device).size(), 3u);
    EXPECT_TRUE(ui.prompt.shown.empty());

    ui.CancelAfterPumps(0);
    Paste("PLAY " + Macro("W.MAC", {"WAITFOR AU", "ECHO after"}));
    // The fifth poll is answered by a closed connection: the wait ends at once, quietly in a
    // macro, and the macro goes on.
    EXPECT_EQ(Terminal(device).size(), 5u);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_EQ(Lines().back(), Padded("after", 42) + " ");
}

TEST_F(TerminalSim, DelayWaitsOnTheClockBetweenTwoLines) {
    SimRig device({Transport::Tcp, Arguments()});
    Open(device);
    const int64_t start = clock.now;
    Paste("PLAY " + Macro("D.MAC", {"EQ", "DELAY 5", "EQ"}));
    EXPECT_EQ(Terminal(device).size(), 2u);
    EXPECT_EQ(clock.now - start, 5000);
    EXPECT_EQ(Lines()[2], Padded("DELAY 5", 42) + " Delaying 5 secs");
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0]->title, TerminalSession::kMacroTitle);
}

class TerminalSimReport : public TerminalSim, public ::testing::WithParamInterface<Transport> {};

TEST_P(TerminalSimReport, APrintedReportGoesToReportTxtAndTheLog) {
    files.Write("ticket.txt", "TICKET 7\r\nGROSS 100\r\n");
    SimRig device({GetParam(), Arguments({"--report", files.File("ticket.txt")})});
    Open(device);
    // The report ends when the line goes quiet: the wait for more runs on a clock that moves
    // a second a turn.
    ScopedIdleClock idle(1000);
    Paste("PT");
    EXPECT_EQ(files.Read("REPORT.TXT"), "TICKET 7\nGROSS 100\n");
    EXPECT_EQ(host.opened, std::vector<std::string>{files.File("REPORT.TXT")});
    EXPECT_EQ(Lines(), std::vector<std::string>{"02" + Padded("PT", 40) + " PT"});
    EXPECT_EQ(ui.progress.at(0)->title, TerminalExchange::kCapturing);

    Paste("LOG " + files.File("t.log"));
    files.Write("REPORT.TXT", "old");
    Paste("PT");
    Paste("LOG");
    EXPECT_EQ(host.opened.size(), 1u) << "logging: the report is in the log";
    EXPECT_EQ(files.Read("REPORT.TXT"), "TICKET 7\nGROSS 100\n");
    const std::string logged = files.Read("t.log");
    EXPECT_TRUE(logged.ends_with("\r\nTICKET 7\nGROSS 100\n02" + Padded("PT", 40) + " PT\r\n")) << logged;
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

INSTANTIATE_TEST_SUITE_P(Transports, TerminalSimReport, ::testing::ValuesIn(kTransports), LinkName());

}  // namespace
}  // namespace qs::test
