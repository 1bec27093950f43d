// A log download over a scripted device: what it asks for, in which order and at which
// address, what the file holds, and how it ends (no entries, no file, cancel while a busy device
// is waited for). A busy device, refused bay totals and a cancel between records are shown
// against the simulator.
#include <gtest/gtest.h>

#include "DocumentFixtures.h"
#include "LogFixtures.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "appmodel/logs/LogDownloader.h"
#include "link/MiniProtocol.h"
#include "programdata/CDirectory.h"

namespace qs::test {
namespace {

using Sent = ScriptedDevice::Sent;

class LogDownloaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc = std::make_unique<CVexa3Doc>(ports, BuiltDictionary(), &options);
        doc->SetTitle("Rack 4.D3X");
        doc->SetPortIndex(CVexa3Doc::kPortTcp);
        doc->SetProtocolKind(kProtocolMini);
        doc->SetTcpProtocolFactory(
            [this](const std::string&, int) -> std::unique_ptr<DX3Protocol> { return device.OpenMini(true); });
        device.answer = [this](int, const std::string& c) -> std::string {
            if (c == "PV SY 111") return "PV SY 111 5";
            if (c == "GP") return "0A463B8B";
            if (c == "BA") return bays;
            return c;
        };
        device.onBlock = [this](const std::string& block, int) { return logs.Serve(device.blockAddresses.back(), block); };
        ASSERT_GE(doc->Connect(true), CVexa3Doc::kStateReadOnly);
        device.sent.clear();
        UseArms(1, 0);
    }

    // Arms in use and the number of bays read (the arm mode), as the document's codes say.
    void UseArms(int arms, int bayMode) {
        ASSERT_TRUE(doc->SetParamValue(CDirectory::kConfig, 1, 0, arms));
        ASSERT_TRUE(doc->SetParamValue(CDirectory::kArm, 109, 0, bayMode));
        std::vector<std::string> warnings;
        ASSERT_TRUE(doc->ApplyConfiguration(&warnings));
        ASSERT_EQ(doc->ArmMode(), bayMode);
    }

    LogDownloadOutcome Download(LogKind kind, std::optional<std::string> file = std::string("log.txt")) {
        auto* link = dynamic_cast<MiniProtocol*>(doc->GetProtocol());
        EXPECT_NE(link, nullptr);
        LogDownloadHooks hooks;
        hooks.chooseFile = [this, file](const LogFileChoice& choice) -> std::optional<std::string> {
            choices.push_back(choice);
            if (!file) return std::nullopt;
            return file->starts_with("/") ? *file : dir.File(*file);
        };
        hooks.openFile = [this](const std::string& path) { opened.push_back(path); };
        hooks.pause = [this](int ms) { pauses.push_back(ms); };
        LogDownloader downloader(*doc, *link, ui.services, hooks);
        return downloader.Download(kind);
    }
    std::string File(const std::string& name = "log.txt") const { return ReadWhole(dir.File(name)); }
    // Requests of one kind ("04 04"), as "<address>:<argument>[/<part>]".
    std::vector<std::string> Asked(const std::string& code) const {
        std::vector<std::string> out;
        for (const std::string& a : logs.asked) {
            const size_t colon = a.find(':');
            if (a.compare(colon + 1, code.size(), code) == 0) out.push_back(a.substr(0, colon) + a.substr(colon + 1 + code.size()));
        }
        return out;
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        const std::string text = File();
        for (size_t at = 0; at < text.size();) {
            const size_t end = text.find("\r\n", at);
            if (end == std::string::npos) {
                out.push_back("(no CR LF) " + text.substr(at));
                break;
            }
            out.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        return out;
    }

    RecordingUi ui;
    TempDir dir;
    AppOptions options;
    ComPortTable ports;
    std::unique_ptr<CVexa3Doc> doc;
    ScriptedDevice device;
    FakeLogs logs;
    std::string bays = "BA AB";
    std::vector<LogFileChoice> choices;
    std::vector<std::string> opened;
    std::vector<int> pauses;
};

// ---- event and audit-trail logs

TEST_F(LogDownloaderTest, EntriesAreWrittenNewestFirstAndTheFileIsOpened) {
    struct Row {
        LogKind kind;
        const char* code;
        const char* entry;
        const char* suffix;
        const char* dialog;
        const char* title;
        const char* text;
    };
    const Row rows[] = {
        {LogKind::Event, "04 03", "04 02", "Rack 4-EventLog.txt", "Select file to store event log data",
         "Transferring Event Log entries...", "Reading 3 Event log entries"},
        {LogKind::Audit, "04 07", "04 06", "Rack 4-AuditLog.txt", "Select file to store audit trail log data",
         "Transferring Audit trail log entries...", "Reading 3 Audit trail log entries"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.suffix);
        logs = FakeLogs{};
        logs.events = logs.audits = FakeLogs::Range{3, 5};
        opened.clear();
        choices.clear();
        ASSERT_EQ(Download(row.kind), LogDownloadOutcome::Written);
        EXPECT_EQ(Asked(row.code), (std::vector<std::string>{"1:2", "1:1"}));
        EXPECT_EQ(Asked(row.entry), (std::vector<std::string>{"1:5", "1:4", "1:3"}));
        EXPECT_EQ(Lines(), (std::vector<std::string>{"5,0,01/02/2024,03:04:05,Entry 5", "4,0,01/02/2024,03:04:05,Entry 4",
                                                     "3,0,01/02/2024,03:04:05,Entry 3"}));
        ASSERT_EQ(choices.size(), 1u);
        EXPECT_EQ(choices[0].proposedName, row.suffix);
        EXPECT_EQ(choices[0].title, row.dialog);
        ASSERT_FALSE(ui.progress.empty());
        const ProgressRecord& bar = *ui.progress.back();
        EXPECT_EQ(bar.title, row.title);
        EXPECT_EQ(bar.texts, std::vector<std::string>{row.text});
        EXPECT_EQ(bar.upper, 3);
        EXPECT_EQ(bar.pos, 3);
        EXPECT_EQ(opened, std::vector<std::string>{dir.File("log.txt")});
        EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    }
}

TEST_F(LogDownloaderTest, EntryCountsRunDownToTheFirstNumberEvenWhenItIsZero) {
    logs.events = FakeLogs::Range{0, 2};
    ASSERT_EQ(Download(LogKind::Event), LogDownloadOutcome::Written);
    EXPECT_EQ(Asked("04 02"), (std::vector<std::string>{"1:2", "1:1", "1:0"}));
    logs.asked.clear();
    logs.events = FakeLogs::Range{7, 7};
    ASSERT_EQ(Download(LogKind::Event), LogDownloadOutcome::Written);
    EXPECT_EQ(Asked("04 02"), (std::vector<std::string>{"1:7"}));
    EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(LogDownloaderTest, NoEntriesSaysSoBeforeAnyDialog) {
    struct Row {
        const char* name;
        LogKind kind;
        std::optional<FakeLogs::Range> range;
        const char* message;
    };
    const Row rows[] = {
        {"event range refused", LogKind::Event, std::nullopt, "No event entries available to download"},
        {"audit range refused", LogKind::Audit, std::nullopt, "No audit log entries available to download"},
        {"last one below first", LogKind::Event, FakeLogs::Range{5, 4}, "No event entries available to download"},
        {"last far below first", LogKind::Audit, FakeLogs::Range{9, 2}, "No audit log entries available to download"},
        {"no transactions", LogKind::Transaction, std::nullopt, "No logged transactions available to download"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ui.prompt.shown.clear();
        logs.events = logs.audits = row.range;
        EXPECT_EQ(Download(row.kind), LogDownloadOutcome::NoEntries);
        EXPECT_EQ(ui.Messages(), std::vector<std::string>{row.message});
        EXPECT_TRUE(choices.empty());
        EXPECT_TRUE(ui.progress.empty());
        EXPECT_TRUE(opened.empty());
    }
}

TEST_F(LogDownloaderTest, ACancelledDialogOrAFileThatCannotBeMadeReadsNoRecord) {
    logs.events = FakeLogs::Range{1, 2};
    EXPECT_EQ(Download(LogKind::Event, std::nullopt), LogDownloadOutcome::NotChosen);
    dir.Write("plain", "x");
    EXPECT_EQ(Download(LogKind::Event, dir.File("plain/log.txt")), LogDownloadOutcome::FileFault);
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"Unable to create " + dir.File("plain/log.txt") + " - Not a directory"});
    EXPECT_TRUE(Asked("04 02").empty());
    EXPECT_TRUE(ui.progress.empty());
    EXPECT_TRUE(opened.empty());
}

TEST_F(LogDownloaderTest, ANameWithoutExtensionGetsTxt) {
    logs.events = FakeLogs::Range{1, 1};
    ASSERT_EQ(Download(LogKind::Event, std::string("events")), LogDownloadOutcome::Written);
    EXPECT_EQ(opened, std::vector<std::string>{dir.File("events.txt")});
    EXPECT_FALSE(File("events.txt").empty());
}

TEST_F(LogDownloaderTest, TransactionsPerArmWithTheirPartsAndNoHeadingForAnEmptyArm) {
    UseArms(3, 0);
    doc->SetArmAddress(1, 12);
    doc->SetArmAddress(2, 13);
    logs.transactions = {{1, {101, 102}}, {13, {7, 7}}};  // arm 2 (12) refuses its range
    logs.batches = 2;
    ASSERT_EQ(Download(LogKind::Transaction), LogDownloadOutcome::Written);
    EXPECT_EQ(Asked("04 05"), (std::vector<std::string>{"1:2", "1:1", "12:2", "13:2", "13:1"}));
    EXPECT_EQ(Asked("04 04"), (std::vector<std::string>{"1:102/0", "1:102/12", "1:102/1", "1:102/2", "1:102/11",
                                                        "1:101/0", "1:101/12", "1:101/1", "1:101/2", "1:101/11",
                                                        "13:7/0", "13:7/12", "13:7/1", "13:7/2", "13:7/11"}));
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "Transaction data for Arm 1");
    EXPECT_TRUE(lines[1].starts_with("1,102,2,03/04/2024,05:06:07,")) << lines[1];
    EXPECT_TRUE(lines[1].ends_with(",EXTRA,,,,,,,")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with(" Batch 1,")) << lines[2];
    EXPECT_TRUE(lines[3].starts_with(" Batch 2,")) << lines[3];
    EXPECT_TRUE(lines[4].starts_with("Bay Nonresettables: ")) << lines[4];
    EXPECT_TRUE(lines[5].starts_with("1,101,2,")) << lines[5];
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], "Transaction data for Arm 3");
    EXPECT_TRUE(lines[11].starts_with("13,7,2,")) << lines[11];
    EXPECT_EQ(lines[15], "");
    EXPECT_EQ(ui.progress.back()->texts, std::vector<std::string>{"Reading 3 transactions"});
    EXPECT_EQ(ui.progress.back()->upper, 3);
    // No bays: "MS A" to arm 1's device and "MS B" to arm 2's, and no "BA".
    EXPECT_EQ(device.sent, (std::vector<Sent>{{1, "MS A"}, {12, "MS B"}}));
    EXPECT_EQ(choices.at(0).proposedName, "Rack 4-TransLog.txt");
    EXPECT_EQ(choices.at(0).title, "Select file to store transaction log data");
    EXPECT_EQ(ui.progress.back()->title, "Transferring Transaction Log entries...");
}

TEST_F(LogDownloaderTest, BaysAreFoundFromTheBaReplyAndReadInsteadOfArms) {
    struct Row {
        const char* reply;
        int mode;
        std::array<int, 2> bays;
        std::vector<Sent> commands;
        std::vector<std::string> ranges;
    };
    const Row rows[] = {
        {"BA BA", 2, {12, 1}, {{1, "BA"}}, {"12:2", "12:1", "1:2", "1:1"}},
        {"BA BA", 1, {12, 0}, {{1, "BA"}, {12, "MS B"}}, {"12:2", "12:1"}},
        // A reply too short for the arms: no bay, and each is asked of its arm.
        {"BA", 2, {0, 0}, {{1, "BA"}, {1, "MS A"}, {12, "MS B"}}, {"0:2", "0:1", "0:2", "0:1"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.reply) + " mode " + std::to_string(row.mode));
        UseArms(2, row.mode);
        doc->SetArmAddress(1, 12);
        bays = row.reply;
        logs = FakeLogs{};
        logs.transactions = {{0, {5, 5}}, {1, {5, 5}}, {12, {5, 5}}};
        device.sent.clear();
        doc->GetProtocol()->SetAddress(1);
        EXPECT_EQ(Download(LogKind::Transaction), LogDownloadOutcome::Written);
        EXPECT_EQ(doc->BayAddresses(), row.bays);
        EXPECT_EQ(device.sent, row.commands);
        EXPECT_EQ(Asked("04 05"), row.ranges);
        EXPECT_EQ(Lines().at(0), "Transaction data for Bay A");
        if (row.mode == 2) {
            EXPECT_NE(File().find("\r\n\r\nTransaction data for Bay B\r\n"), std::string::npos);
        }
    }
}

TEST_F(LogDownloaderTest, CancelWhileABusyDeviceIsWaitedFor) {
    logs.transactions = {{1, {1, 3}}};
    logs.busy = -1;
    ui.CancelAfterPumps(3);
    EXPECT_EQ(Download(LogKind::Transaction), LogDownloadOutcome::Cancelled);
    EXPECT_EQ(pauses.size(), 3u);
    EXPECT_EQ(Asked("04 04").size(), 3u);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Transaction data for Arm 1"});
    EXPECT_TRUE(opened.empty());
}

TEST_F(LogDownloaderTest, BatchesStopBeforeThePartsThatAreNoBatches) {
    logs.transactions = {{1, {1, 1}}};
    logs.batches = 40;
    ASSERT_EQ(Download(LogKind::Transaction), LogDownloadOutcome::Written);
    std::vector<std::string> expected = {"1:1/0", "1:1/12"};
    for (int b = 1; b <= 10; ++b) expected.push_back("1:1/" + std::to_string(b));
    expected.push_back("1:1/11");
    EXPECT_EQ(Asked("04 04"), expected);
    EXPECT_TRUE(Lines().at(1).starts_with("1,1,40,"));
}

TEST_F(LogDownloaderTest, AHeaderThatCannotBeReadLeavesItsTransactionOut) {
    logs.transactions = {{1, {1, 3}}};
    logs.silentHeaders = {2};
    ASSERT_EQ(Download(LogKind::Transaction), LogDownloadOutcome::Written);
    EXPECT_EQ(Asked("04 04"), (std::vector<std::string>{"1:3/0", "1:3/12", "1:3/1", "1:3/11", "1:2/0", "1:1/0",
                                                        "1:1/12", "1:1/1", "1:1/11"}));
    logs.asked.clear();
    logs.headerBytes = 1061;
    ASSERT_EQ(Download(LogKind::Transaction), LogDownloadOutcome::Written);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Transaction data for Arm 1", ""}));
    EXPECT_EQ(ui.progress.back()->pos, 3);
}

}  // namespace
}  // namespace qs::test
