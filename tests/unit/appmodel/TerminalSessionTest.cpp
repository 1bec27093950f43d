// The terminal session over a scripted device: what typing, the canned commands, the local
// statements and macros send, show, say and log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "ScriptedDevice.h"
#include "TempDir.h"
#include "TerminalHostFake.h"
#include "appmodel/programdata/DeviceCommands.h"
#include "appmodel/terminal/TerminalSession.h"
#include "link/ComPortTable.h"
#include "platform/ProcessLauncher.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {
namespace {

using Sent = ScriptedDevice::Sent;

}  // namespace

void PrintTo(const ScriptedDevice::Sent& s, std::ostream* os) { *os << s.address << ":\"" << s.command << '"'; }

namespace {

constexpr int kBase = 2;  // arm 1
constexpr int kArm2 = 5;

class TerminalSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui.services.clock = &clock;
        doc = std::make_unique<CVexa3Doc>(ports, FilesIn(empty.Path()));
        device.answer = [](int, const std::string& command) -> std::string {
            if (command == "GP") return "0A463B8B";
            if (command == "EQ") return "0000000000000000";
            return ScriptedDevice::Controller(0, command);
        };
        device.Attach(*doc);
        doc->SetBaseAddress(kBase);
        doc->SetArmAddress(1, kArm2);
        for (int arm = 2; arm < CVexa3Doc::kMaxArms; ++arm) doc->SetArmAddress(arm, 0);
        ASSERT_GE(doc->Connect(true), CVexa3Doc::kStateReadOnly);
        device.sent.clear();
        ui.prompt.shown.clear();
        session = std::make_unique<TerminalSession>(*doc, ui.services, host, launcher, files.File("REPORT.TXT"));
        session->Start();
    }
    // The line pasted into the entry with its line end (typing would upper-case its start).
    void Run(const std::string& line) {
        session->OnEntryChanged(line + "\n");
        host.RunPosted(*session);
    }
    std::vector<std::string> Lines() const { return TranscriptLines(session->Transcript()); }
    std::string Macro(const std::string& name, const std::string& text) const {
        files.Write(name, text);
        return files.File(name);
    }

    TempDir empty, files;
    RecordingUi ui;
    FakeClock clock;
    FakeTerminalHost host{clock};
    ComPortTable ports;
    ProcessLauncher launcher;
    ScriptedDevice device;
    std::unique_ptr<CVexa3Doc> doc;
    std::unique_ptr<TerminalSession> session;
};

TEST_F(TerminalSessionTest, ShortEntriesAreUpperCasedAndReturnRunsTheLine) {
    host.Type(*session, "wd hello");
    EXPECT_EQ(host.entry, "WD HELLo") << "from eight characters on the text is left as typed";
    EXPECT_EQ(host.caret, 7u);
    host.Type(*session, "\n");
    EXPECT_EQ(device.sent, (std::vector<Sent>{{kBase, "WD HELLo"}}));
    EXPECT_EQ(host.entry, "");
    EXPECT_EQ(Lines(), std::vector<std::string>{"02" + Padded("WD HELLo", 40) + " WD HELLo"});
    EXPECT_EQ(session->CommandText(), "WD HELLo");

    // The text after the line end goes; an entry equal to the last command is left alone.
    session->OnEntryChanged("gp\r\nEQ");
    EXPECT_EQ(device.sent.back(), (Sent{kBase, "gp"}));
    const int shown = host.entryShown;
    session->OnEntryChanged("gp");
    EXPECT_EQ(host.entryShown, shown);
}

TEST_F(TerminalSessionTest, ALineOfLessThanTwoCharactersIsNotRun) {
    host.Type(*session, "e\n");
    EXPECT_TRUE(device.sent.empty());
    EXPECT_EQ(host.entry, "E");
    EXPECT_EQ(host.caret, 1u);
    session->OnEntryChanged("\n");
    EXPECT_TRUE(device.sent.empty());
    EXPECT_TRUE(session->Transcript().empty());
}

TEST_F(TerminalSessionTest, CannedCommandsRunOrWaitForTheirArguments) {
    session->RunCanned(18108);  // GP, ends in CR
    EXPECT_EQ(device.sent, (std::vector<Sent>{{kBase, "GP"}}));
    EXPECT_EQ(host.helpIds.front(), 8108);
    session->RunCanned(18202);  // PV and a blank
    EXPECT_EQ(host.entry, "PV ");
    EXPECT_EQ(host.caret, 3u);
    EXPECT_EQ(host.focused, 2);
    EXPECT_EQ(host.helpIds.back(), 8202);
    session->RunCanned(18125);  // HP has no text: the entry stays
    EXPECT_EQ(host.entry, "PV ");
    session->RunCanned(18705);  // AU, bare
    EXPECT_EQ(host.entry, "AU");
    EXPECT_EQ(device.sent.size(), 1u);
    host.Type(*session, "\n");
    EXPECT_EQ(device.sent.back(), (Sent{kBase, "AU"}));
}

TEST_F(TerminalSessionTest, LocalStatementsAnswerThemselves) {
    struct Row {
        std::string line;
        std::string shown;  // the transcript line
        std::vector<std::string> messages;
        int address;        // of the next macro line
    };
    const std::vector<Row> rows = {
        {"ECHO   check the rack  ", Padded("check the rack", 42) + " ", {}, kBase},
        {"PROMPT Open valve 3", Padded("Open valve 3", 42) + " ", {"Open valve 3"}, kBase},
        {"ADDRESS 17", Padded("ADDRESS 17", 42) + " Switched to address 17 ", {}, 17},
        {"address 100", Padded("address 100", 42) + " Address must be 0 to 99", {}, kBase},
        {"ADDRESS x", Padded("ADDRESS x", 42) + " Address must be 0 to 99", {}, kBase},
        {"ARM 2", Padded("ARM 2", 42) + " Switched to arm 2 ", {}, kArm2},
        {"ARM 3", Padded("ARM 3", 42) + " Switched to arm 3 ", {}, 0},  // an arm without address
        {"DELAY 0", Padded("DELAY 0", 42) + " Delaying 0 secs", {}, kBase},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        ui.prompt.shown.clear();
        Run("PLAY " + Macro("ONE.MAC", row.line + "\r\nEQ\r\n"));
        const std::vector<std::string> lines = Lines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[lines.size() - 2], row.shown);
        EXPECT_EQ(ui.Messages(), row.messages);
        EXPECT_EQ(device.sent.back(), (Sent{row.address, "EQ"}));
        EXPECT_EQ(session->ArmIndex(), row.line == "ARM 2" ? 1 : 0);
        session->SelectArm(0);
    }
    EXPECT_TRUE(ui.progress.size() == rows.size());
    EXPECT_EQ(ui.status.texts.back(), TerminalSession::kMacroComplete);

    session->ExecuteLine("cls");
    EXPECT_EQ(session->Transcript(), "");
    EXPECT_EQ(host.closes, 0);
    session->ExecuteLine("EXIT");
    EXPECT_EQ(host.closes, 1);
}

TEST_F(TerminalSessionTest, LogCatchesEveryLineUntilLogAgain) {
    session->ExecuteLine("LOG " + files.File("t.log"));
    EXPECT_EQ(ui.status.texts.back(), TerminalSession::kLogging);
    session->ExecuteLine("GP");
    session->ExecuteLine("ECHO hi");
    session->ExecuteLine("LOG");
    EXPECT_EQ(ui.status.texts.back(), TerminalSession::kReady);
    session->ExecuteLine("EQ");
    const std::string logged = files.Read("t.log");
    EXPECT_TRUE(logged.starts_with("Log started "));
    EXPECT_TRUE(logged.ends_with("\r\n02" + Padded("GP", 40) + " 0A463B8B\r\n" + Padded("hi", 42) + " \r\n")) << logged;

    session->ExecuteLine("LOG " + files.File("missing/folder/t.log"));
    EXPECT_EQ(ui.LastMessage(), TerminalSession::kNoLogName);
    EXPECT_FALSE(session->Log().IsOpen());
}

TEST_F(TerminalSessionTest, CommandsThatWouldBreakTheirFrameAreNotSent) {
    session->ExecuteLine(std::string(1025, 'A'));
    session->ExecuteLine(std::string("WD \x02X", 5));
    session->ExecuteLine(std::string(1024, 'B'));
    ASSERT_EQ(device.sent.size(), 1u);
    EXPECT_EQ(device.sent[0].command.size(), 1024u);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].ends_with(std::string(" ") + TerminalExchange::kTooLong));
    EXPECT_TRUE(lines[1].ends_with(std::string(" ") + TerminalExchange::kBadCharacters));

    // While another device command runs, the terminal's waits.
    DeviceCommands::CommandScope other;
    session->ExecuteLine("GP");
    EXPECT_EQ(device.sent.size(), 1u);
    EXPECT_TRUE(Lines().back().ends_with(TerminalExchange::kOtherCommand));
}

TEST_F(TerminalSessionTest, RejectionsShowTheirTextAndFailuresAreSaidOnceOrNamedInAMacro) {
    device.Reject(5);
    session->ExecuteLine("RT 1");
    EXPECT_EQ(Lines().back(), "02" + Padded("RT 1", 40) + " NO05 - No Transaction Ever Done");
    EXPECT_TRUE(ui.prompt.shown.empty());

    device.Silence();
    session->ExecuteLine("GP");
    EXPECT_EQ(ui.prompt.shown.size(), 1u) << "a typed command's failure is said in a box";
    EXPECT_EQ(Lines().size(), 1u);

    device.Silence();
    session->ExecuteLine("PLAY " + Macro("S.MAC", "GP\r\nEQ\r\n"));
    host.RunPosted(*session);
    EXPECT_EQ(ui.prompt.shown.size(), 1u) << "a macro goes on without a box";
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "02" + Padded("GP", 40) + " Timeout waiting for response");
    EXPECT_EQ(lines[3], "02" + Padded("EQ", 40) + " 0000000000000000");
}

TEST_F(TerminalSessionTest, EscStopsADelayAndWithItTheMacro) {
    ui.CancelAfterPumps(4);
    session->ExecuteLine("PLAY " + Macro("D.MAC", "DELAY 5\r\nEQ\r\n"));
    host.RunPosted(*session);
    EXPECT_LT(host.pausedMs, 5000);
    EXPECT_TRUE(device.sent.empty());
    EXPECT_FALSE(session->MacroRunning());
    EXPECT_EQ(ui.status.texts.back(), TerminalSession::kMacroAborted);
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0]->title, TerminalSession::kMacroTitle);
    EXPECT_EQ(ui.progress[0]->texts, (std::vector<std::string>{"Delaying 5 secs", ""}));
}

TEST_F(TerminalSessionTest, MacroErrorsAreSaidAndTheOuterMacroGoesOn) {
    const std::string missing = files.File("NONE");
    const std::string bad = Macro("BAD.MAC", "GP\r\nGOTO NOWHERE\r\nLO\r\n");
    session->ExecuteLine("PLAY " + Macro("TOP.MAC", "PLAY " + missing + "\r\nPLAY " + bad + "\r\nEQ\r\n"));
    host.RunPosted(*session);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Error executing " + missing + "... File not found",
                                                       "Error executing " + bad + "... Label not defined"}));
    std::vector<std::string> sent;
    for (const Sent& s : device.sent) sent.push_back(s.command);
    EXPECT_EQ(sent, (std::vector<std::string>{"GP", "EQ"}));
    EXPECT_EQ(session->Depth(), 0);
    EXPECT_EQ(ui.status.texts.back(), TerminalSession::kMacroComplete);

    // PLAY without a name asks for the file; no answer, no macro.
    session->ExecuteLine("PLAY");
    EXPECT_EQ(host.chooserShown, 1);
    EXPECT_FALSE(session->MacroRunning());
}

TEST_F(TerminalSessionTest, MacrosNestSixteenDeepAtMost) {
    const std::string self = files.File("SELF.MAC");
    files.Write("SELF.MAC", "EQ\r\nPLAY " + self + "\r\n");
    session->ExecuteLine("PLAY " + self);
    host.RunPosted(*session);
    EXPECT_EQ(device.sent.size(), static_cast<size_t>(TerminalSession::kMaxDepth));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error executing " + self +
                                                      "... Cannot perform operation while macro running"});
    // The deepest macro's line, indented two blanks a level.
    const std::string deepest = std::string(2 * (TerminalSession::kMaxDepth - 1), ' ') + "02EQ";
    bool found = false;
    for (const std::string& line : Lines()) found = found || line.starts_with(deepest);
    EXPECT_TRUE(found);
    EXPECT_FALSE(session->MacroRunning());
}

TEST_F(TerminalSessionTest, PlayWhileLoggingAsksToCloseTheLog) {
    session->ExecuteLine("LOG " + files.File("t.log"));
    ui.prompt.Answer(IDYES);
    session->ExecuteLine("PLAY " + Macro("P.MAC", "EQ\r\n"));
    EXPECT_EQ(ui.prompt.shown.at(0).text, TerminalSession::kCloseLogFirst);
    EXPECT_FALSE(session->Log().IsOpen());
    host.RunPosted(*session);
    EXPECT_EQ(files.Read("t.log").find("EQ"), std::string::npos);
}

TEST_F(TerminalSessionTest, AReportIsCutAtItsLimitAndACancelledOneIsNotOpened) {
    const std::string huge(TerminalExchange::kMaxReport + 100, 'R');
    device.Raw(TerminalReply(kBase, "PT") + huge);
    session->ExecuteLine("PT");
    EXPECT_EQ(files.Read("REPORT.TXT").size(), TerminalExchange::kMaxReport);
    EXPECT_EQ(host.opened, std::vector<std::string>{files.File("REPORT.TXT")});

    ui.CancelAfterPumps(10);
    device.Raw(TerminalReply(kBase, "PT") + "LINE 1\r\nLINE 2\r\nLINE 3\r\n");
    session->ExecuteLine("PT");
    EXPECT_EQ(files.Read("REPORT.TXT"), "LINE 1\nLI") << "ten bytes read, one of them a CR";
    EXPECT_EQ(host.opened.size(), 1u);

    TerminalSession nowhere(*doc, ui.services, host, launcher, files.File("REPORT.TXT/REPORT.TXT"));
    device.Raw(TerminalReply(kBase, "PT") + "X\r\n");
    nowhere.ExecuteLine("PT");
    EXPECT_EQ(ui.LastMessage(), TerminalExchange::kCannotOpenReport);
}

TEST_F(TerminalSessionTest, AShortStatusNeverEndsAWait) {
    device.Reply("1");
    device.Reply("0000");
    Run("WAITFOR !JA");  // the eleventh character, which those replies do not have
    std::vector<std::string> sent;
    for (const Sent& s : device.sent) sent.push_back(s.command);
    EXPECT_EQ(sent, (std::vector<std::string>{"EQ", "EQ", "EQ"}));
}

TEST_F(TerminalSessionTest, ALogThatCannotOpenInAMacroSendsNothing) {
    Run("PLAY " + Macro("L.MAC", "LOG " + files.File("no/such/folder/x.log") + "\r\n\r\nEQ\r\n"));
    EXPECT_EQ(device.sent, (std::vector<Sent>{{kBase, ""}, {kBase, "EQ"}})) << "only the empty line is sent empty";
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(TerminalSessionTest, ExitInAMacroEndsItAndClosesTheWindow) {
    Run("PLAY " + Macro("X.MAC", "EQ\r\nEXIT\r\nGP\r\n"));
    EXPECT_EQ(host.closes, 1);
    EXPECT_FALSE(session->MacroRunning());
    ASSERT_EQ(device.sent.size(), 1u);
    EXPECT_EQ(host.posted, 0);
    session->RunPostedLine();
    EXPECT_EQ(device.sent.size(), 1u);
}

TEST_F(TerminalSessionTest, AnUpdateForgetsTheEntryAndRefillsTheArms) {
    host.Type(*session, "gp");
    session->SelectArm(1);
    doc->SetArmAddress(0, 9);
    doc->SetArmAddress(3, 7);
    session->OnUpdate();
    EXPECT_EQ(host.entry, "");
    EXPECT_EQ(session->ArmList(), (std::vector<std::string>{"Arm 1", "Arm 2", "Arm 4"}));
    EXPECT_EQ(session->ArmIndex(), 1);
    host.Type(*session, "EQ\n");
    EXPECT_EQ(device.sent.back(), (Sent{kArm2, "EQ"}));
}

}  // namespace
}  // namespace qs::test
