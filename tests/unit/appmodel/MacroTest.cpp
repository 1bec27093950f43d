// Macro files: finding and reading them, the lines they hand out, the statements they carry out
// themselves and the errors they end with.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Fuzz.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "appmodel/terminal/CMacro.h"
#include "appmodel/terminal/TerminalLog.h"
#include "platform/ProcessLauncher.h"

namespace qs::test {
namespace {

class MacroTest : public ::testing::Test {
protected:
    // A macro file of these lines (CR LF after each), loaded.
    std::unique_ptr<CMacro> Load(const std::vector<std::string>& lines, const std::string& name = "M.MAC") {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        dir.Write(name, text);
        return std::make_unique<CMacro>(dir.File(name), nullptr, services);
    }
    // Every line the macro hands out until it finishes (at most `limit` steps); nullopt steps
    // that leave it running show as "<none>".
    static std::vector<std::string> Drain(CMacro& macro, int limit = 100) {
        std::vector<std::string> out;
        for (int i = 0; i < limit && macro.GetState() == CMacro::kRunning; ++i) {
            std::optional<std::string> line = macro.GetNextLine();
            if (line) out.push_back(*line);
            else if (macro.GetState() == CMacro::kRunning) out.push_back("<none>");
        }
        return out;
    }

    TempDir dir;
    TerminalLog log;
    ProcessLauncher launcher;
    MacroServices services{log, launcher};
};

TEST_F(MacroTest, ANameWithoutExtensionFindsItsMacFileInEitherCase) {
    struct Row {
        std::vector<std::string> files;
        std::string played;
        std::string found;  // "" = not found
    };
    const std::vector<Row> rows = {
        {{"TEST.MAC"}, "TEST", "TEST.MAC"},
        {{"test.mac"}, "test", "test.mac"},
        {{"test.mac"}, "TEST", "test.mac"},   // typed short lines are upper-cased
        {{"TEST", "TEST.MAC"}, "TEST", "TEST"},  // the name itself first
        {{"TEST.MAC", "TEST.mac"}, "TEST", "TEST.MAC"},
        {{"Test.Mac"}, "TEST", "Test.Mac"},
        {{"TEST.MAC"}, "TEST.TXT", ""},       // a name with an extension keeps it
        {{"notes.txt"}, "NOTES.TXT", "notes.txt"},
        {{}, "TEST", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.played);
        TempDir folder;
        for (const std::string& f : row.files) folder.Write(f, "EQ\r\n");
        const std::optional<std::string> found = CMacro::FindFile(folder.File(row.played));
        if (row.found.empty()) {
            EXPECT_FALSE(found) << *found;
            CMacro macro(folder.File(row.played), nullptr, services);
            EXPECT_EQ(macro.Error(), CMacro::kFileNotFound);
            EXPECT_EQ(macro.GetErrorText(), "File not found");
            EXPECT_EQ(macro.GetState(), CMacro::kNotLoaded);
        } else {
            ASSERT_TRUE(found);
            EXPECT_EQ(*found, folder.File(row.found));
        }
    }
}

TEST_F(MacroTest, CrLfAndLfFilesGiveTheSameLines) {
    EXPECT_EQ(CMacro::SplitLines("EQ\r\nGP\r\n\r\nLO"), (std::vector<std::string>{"EQ", "GP", "", "LO"}));
    EXPECT_EQ(CMacro::SplitLines("EQ\nGP\n\nLO\n"), (std::vector<std::string>{"EQ", "GP", "", "LO"}));
    EXPECT_EQ(CMacro::SplitLines(""), std::vector<std::string>{});
    dir.Write("LF.MAC", "EQ\nGP\n");
    CMacro macro(dir.File("LF"), nullptr, services);
    ASSERT_EQ(macro.Error(), CMacro::kNoError);
    EXPECT_EQ(macro.GetState(), CMacro::kRunning);
    EXPECT_EQ(Drain(macro), (std::vector<std::string>{"EQ", "GP"}));
}

TEST_F(MacroTest, AFileTooLargeToBeAMacroIsRefused) {
    dir.Write("BIG.MAC", std::string(CMacro::kMaxFileBytes + 1, 'A'));
    CMacro macro(dir.File("BIG.MAC"), nullptr, services);
    EXPECT_EQ(macro.Error(), CMacro::kOutOfMemory);
    EXPECT_EQ(macro.GetState(), CMacro::kNotLoaded);
}

TEST_F(MacroTest, LinesAndStatementsInOrder) {
    struct Row {
        const char* what;
        std::vector<std::string> file;
        std::vector<std::string> sent;
        int error;
    };
    const std::vector<Row> rows = {
        {"statements skipped, look-alikes sent",
         {"LET A=1", "IF A", "ENDIF", "let b", "LEX", "IFX 1", "EQ"},
         {"LEX", "EQ"},
         CMacro::kEndOfFile},
        {"a backward jump", {"EQ", "AGAIN:", "GP", "GOTO DONE", "EQ", "DONE:", "LO"}, {"EQ", "GP", "LO"}, CMacro::kEndOfFile},
        {"a jump up to a label above", {"GOTO B", "A:", "LO", "GOTO C", "B:", "GP", "GOTO A", "C:", "EQ"},
         {"GP", "LO", "EQ"}, CMacro::kEndOfFile},
        {"a label in another case is not it", {"EQ", "GOTO loop", "LOOP:", "GP"}, {"EQ"}, CMacro::kLabelNotDefined},
        {"a label on the last line has no line after it", {"EQ", "GOTO END", "END:"}, {"EQ"}, CMacro::kLabelNotDefined},
        {"a bare GOTO names no label", {"GOTO", "X:", "EQ"}, {}, CMacro::kLabelNotDefined},
        {"a label line is not sent, a text ending in a colon is", {"START:", "WD READY:", "GP"},
         {"WD READY:", "GP"}, CMacro::kEndOfFile},
        {"empty lines are sent as empty commands", {"EQ", "", "GP"}, {"EQ", "", "GP"}, CMacro::kEndOfFile},
        {"the first label after the current line wins", {"GOTO X", "X:", "GP", "X:", "LO"}, {"GP", "LO"},
         CMacro::kEndOfFile},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto macro = Load(row.file);
        ASSERT_EQ(macro->Error(), CMacro::kNoError);
        EXPECT_EQ(Drain(*macro), row.sent);
        EXPECT_EQ(macro->GetState(), CMacro::kFinished);
        EXPECT_EQ(macro->Error(), row.error);
        EXPECT_FALSE(macro->GetNextLine()) << "nothing after the end";
    }
}

TEST_F(MacroTest, ErrorTextsAndTheStateCheck) {
    const char* const texts[] = {"No error", "Out of memory", "Command argument out of range",
                                 "Cannot perform operation while macro running",
                                 "Cannot perform operation while recording", "File not found", "Unable to create file",
                                 "Label not defined", "End of file", "LAST ERROR"};
    for (int code = 0; code < 10; ++code) EXPECT_STREQ(CMacro::ErrorText(code), texts[code]) << code;
    EXPECT_STREQ(CMacro::ErrorText(42), "LAST ERROR");

    auto macro = Load({"EQ"});
    EXPECT_TRUE(macro->CheckState());  // running stays running
    EXPECT_EQ(macro->Error(), CMacro::kNoError);
    Drain(*macro);
    EXPECT_FALSE(macro->CheckState());
    EXPECT_EQ(macro->Error(), CMacro::kEndOfFile);
}

TEST_F(MacroTest, ALoopOfStatementsAloneEndsWithAnError) {
    auto macro = Load({"EQ", "TOP:", "LET X", "GOTO TOP", "GP"});
    EXPECT_EQ(macro->GetNextLine(), "EQ");
    EXPECT_FALSE(macro->GetNextLine());
    EXPECT_EQ(macro->GetState(), CMacro::kFinished);
    EXPECT_EQ(macro->Error(), CMacro::kArgumentOutOfRange);

    // A loop that sends a line each time round goes on.
    auto sending = Load({"TOP:", "EQ", "GOTO TOP", "X"});
    for (int i = 0; i < CMacro::kMaxJumpsPerStep + 10; ++i) ASSERT_EQ(sending->GetNextLine(), "EQ") << i;
}

TEST_F(MacroTest, LogOpensThenClosesAndAFailedOneSendsNothing) {
    auto macro = Load({"LOG " + dir.File("run.log"), "EQ", "LOG", "LOG " + dir.File("no/such/folder/x.log"), "GP"});
    EXPECT_EQ(macro->GetNextLine(), "EQ");
    EXPECT_TRUE(log.IsOpen());
    EXPECT_EQ(log.Path(), dir.File("run.log"));
    EXPECT_EQ(macro->GetNextLine(), std::nullopt) << "the LOG that failed";
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(macro->GetState(), CMacro::kRunning);
    EXPECT_EQ(macro->GetNextLine(), "GP");
    EXPECT_TRUE(dir.Read("run.log").starts_with("Log started "));
}

TEST_F(MacroTest, ShellRunsItsExactTextAndLogsTheLine) {
    const std::string out = dir.File("out.txt");
    const std::string shell = "SHELL printf '%s|%s' \"a  b\" $((6*7)) > '" + out + "'";
    auto macro = Load({"LOG " + dir.File("run.log"), shell, "SHELL", "EQ"});
    EXPECT_EQ(macro->GetNextLine(), "EQ");
    EXPECT_EQ(dir.Read("out.txt"), "a  b|42");
    log.Close();
    const std::string logged = dir.Read("run.log");
    EXPECT_NE(logged.find("\r\n" + shell + "\r\nSHELL\r\n"), std::string::npos) << logged;
    EXPECT_TRUE(launcher.Running().empty()) << "the shell was waited for";
}

TEST(TerminalLogTest, StartsWithTheTimeInEnglish) {
    {
        ScopedEnv utc("TZ", "UTC");
        ::tzset();
        EXPECT_EQ(TerminalLog::StartedLine(0), "Log started Thursday, January 01, 1970 00:00:00\r\n");
        EXPECT_EQ(TerminalLog::StartedLine(1709283907), "Log started Friday, March 01, 2024 09:05:07\r\n");
    }
    ::tzset();
    TerminalLog log;
    EXPECT_EQ(log.Open("   "), -1);
    EXPECT_FALSE(log.IsOpen());
}

TEST_F(MacroTest, FuzzedFilesLoadAndRunWithoutFault) {
    const std::vector<std::string> seeds = {
        "EQ\r\nGOTO A\r\nA:\r\nGP\r\n", "LET X\nIF\nENDIF\nLOOP:\nGOTO LOOP\nEQ\n", "B:\r\n\r\nGOTO B\r\n:\r\nGOTO\r\n"};
    RunFuzz(seeds, [&](const std::string& bytes) {
        // Statements that touch the world are left out: the log and the shell.
        std::string text = bytes;
        for (const char* word : {"LOG", "log", "SHELL", "shell"})
            for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at)) text[at] = '#';
        dir.Write("F.MAC", text);
        CMacro macro(dir.File("F.MAC"), nullptr, services);
        if (macro.Error() != CMacro::kNoError) return;
        for (int step = 0; step < 50 && macro.GetState() == CMacro::kRunning; ++step) {
            std::optional<std::string> line = macro.GetNextLine();
            if (line) {
                ASSERT_LE(line->size(), text.size());
            }
        }
        ASSERT_LE(macro.NextLineIndex(), macro.Lines().size());
    }, {.iterations = 600, .maxLength = 512});
}

}  // namespace
}  // namespace qs::test
