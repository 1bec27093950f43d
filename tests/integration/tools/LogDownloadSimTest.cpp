// The log downloads against the simulated controller: the records it serves (with floats whose
// bytes are escaped on the wire) arrive as the lines of the file, newest first, and each fault
// of the device is met as the downloads mean to meet it.
#include <gtest/gtest.h>

#include <cstring>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "SimRig.h"
#include "TempDir.h"
#include "appmodel/logs/LogDownloads.h"
#include "link/CommSettingsText.h"
#include "platform/IniProfile.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"
#include "programdata/CDirectory.h"

namespace qs::test {
namespace {

std::string Real(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", v);
    return text;
}
std::string FloatOfBits(uint32_t bits) {
    float f = 0;
    std::memcpy(&f, &bits, 4);
    return Real(f);
}
std::string DoubleOfBits(uint64_t bits) {
    double d = 0;
    std::memcpy(&d, &bits, 8);
    return Real(d);
}
// Arms 1 and 2 both answer: a download without bays asks arm 2's device for bay B.
std::vector<std::string> Args(std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--addresses", "1-2"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::string Times(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// The simulator's transaction 103 at address 1 and its extra record, as its help describes them.
std::string HeaderLine103() {
    const std::string zero = ",0.000000";
    std::string line = "1,103,2,08/20/2024,11:01:43,103,1103,0,0,7,2,GASOLINE DIESEL ,";
    line += FloatOfBits(0x3F7F0203u) + ",1234.500000" + Times(zero, 4);
    line += ",103.250000," + DoubleOfBits(0x40931B7F02030000ull) + Times(zero, 22) + Times(zero, 5) + Times(zero, 30);
    line += ",TKT103,DRIVER 1,DRIVER 2,DRIVER 3,DRIVER 4,DRIVER 5,NORTH CARRIERS,ORDER 1,ORDER 2,ORDER 3,TRAILER 9,Loaded";
    line += ",1,2,3,4,5,2.500000," + FloatOfBits(0x3F7F0203u) + Times(zero, 3);
    for (int i = 1; i <= 8; ++i) line += ",X103" + std::to_string(i);
    return line;
}

class LogDownloadSim : public ::testing::TestWithParam<Transport> {
protected:
    // A document on the simulator with `arms` arms in use (addresses 1, 2, ...), reading bays
    // when `bays` is not 0.
    void Open(SimRig& device, int arms = 1, int bays = 0, Framing framing = Framing::Mini) {
        ASSERT_TRUE(device.Ready()) << device.Error();
        commands.reset();
        doc = std::make_unique<CVexa3Doc>(ports, BuiltDictionary(), &options);
        doc->SetTitle("Rack 7.D3X");
        device.Attach(*doc, framing);
        ASSERT_TRUE(doc->SetParamValue(CDirectory::kConfig, 1, 0, arms));
        ASSERT_TRUE(doc->SetParamValue(CDirectory::kArm, 109, 0, bays));
        std::vector<std::string> warnings;
        ASSERT_TRUE(doc->ApplyConfiguration(&warnings));
        commands = std::make_unique<DeviceCommands>(*doc, services);
        LogDownloadHooks hooks;
        hooks.chooseFile = [this](const LogFileChoice&) -> std::optional<std::string> { return files.File("log.txt"); };
        hooks.openFile = [this](const std::string& path) { opened.push_back(path); };
        hooks.pause = [this](int ms) { pauses.push_back(ms); };
        logs = &commands->AddTool<LogDownloads>(hooks);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        const std::string text = ReadWhole(files.File("log.txt"));
        size_t at = 0;
        for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) out.push_back(text.substr(at, end - at));
        if (at != text.size()) out.push_back("(no CR LF) " + text.substr(at));
        return out;
    }
    // Transaction part requests the simulator took: "<number>/<part>".
    static std::vector<std::string> Parts(const SimRig& device) {
        std::vector<std::string> out;
        for (const std::string& b : device.Blocks())
            if (b.size() == 11 && b.compare(3, 2, std::string("\x04\x04", 2)) == 0)
                out.push_back(std::to_string(U32From(b, 5)) + "/" + std::to_string(U32From(b, 7) & 0xFFFF));
        return out;
    }

    RecordingUi ui;
    TempDir files, programs;
    AppOptions options;
    ComPortTable ports;
    ProcessLauncher launcher;
    AppServices services{.ui = Ui(), .options = options, .ports = ports, .launcher = launcher, .programDir = programs.Path()};
    std::unique_ptr<CVexa3Doc> doc;
    std::unique_ptr<DeviceCommands> commands;
    LogDownloads* logs = nullptr;
    std::vector<std::string> opened;
    std::vector<int> pauses;
};

TEST_P(LogDownloadSim, TheTransactionLogHoldsTheDevicesRecordsNewestFirst) {
    SimRig device(SimRig::Setup{.transport = GetParam(), .args = Args()});
    Open(device);
    ASSERT_TRUE(logs->Download(LogKind::Transaction)) << ui.LastMessage();
    const std::vector<std::string> lines = Lines();
    // Heading; 103 with 2 batches, 102 with 1, 101 with 3, each with its bay totals; the gap.
    ASSERT_EQ(lines.size(), 1u + (1 + 2 + 1) + (1 + 1 + 1) + (1 + 3 + 1) + 1u);
    EXPECT_EQ(lines[0], "Transaction data for Arm 1");
    EXPECT_EQ(lines[1], HeaderLine103());
    EXPECT_TRUE(lines[2].starts_with(" Batch 1,1,2,3,103,100.000000,")) << lines[2];
    EXPECT_TRUE(lines[3].starts_with(" Batch 2,1,2,3,103,200.000000,")) << lines[3];
    EXPECT_TRUE(lines[4].starts_with("Bay Nonresettables: 0.000000,0.500000,1.000000,")) << lines[4];
    EXPECT_TRUE(lines[4].ends_with(",89.500000,")) << lines[4].substr(lines[4].size() - 40);
    EXPECT_TRUE(lines[5].starts_with("1,102,1,")) << lines[5];
    EXPECT_TRUE(lines[8].starts_with("1,101,3,")) << lines[8];
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(opened, std::vector<std::string>{files.File("log.txt")});
    EXPECT_EQ(Parts(device), (std::vector<std::string>{"103/0", "103/12", "103/1", "103/2", "103/11", "102/0", "102/12",
                                                       "102/1", "102/11", "101/0", "101/12", "101/1", "101/2", "101/3",
                                                       "101/11"}));
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_P(LogDownloadSim, OneEventGivesOneLine) {
    SimRig device(SimRig::Setup{.transport = GetParam(), .args = Args({"--log-range", "event=9-9"})});
    Open(device);
    ASSERT_TRUE(logs->Download(LogKind::Event)) << ui.LastMessage();
    EXPECT_EQ(Lines(), std::vector<std::string>{"9,9,10/10/2024,21:03:09,Event 9"});
}

INSTANTIATE_TEST_SUITE_P(Transports, LogDownloadSim, ::testing::ValuesIn(kTransports), LinkName());

class LogDownloadSimFaults : public LogDownloadSim {};

TEST_F(LogDownloadSimFaults, AnArmWithoutTransactionsWritesNoHeadingAndBaysComeFromBa) {
    SimRig device(SimRig::Setup{.args = {"--addresses", "1-2", "--log-range", "2:trans=none", "--log-range",
                                         "1:trans=5-5", "--bays", "BA"}});
    Open(device, 2);
    ASSERT_TRUE(logs->Download(LogKind::Transaction)) << ui.LastMessage();
    EXPECT_EQ(Lines().front(), "Transaction data for Arm 1");
    EXPECT_EQ(ReadWhole(files.File("log.txt")).find("Arm 2"), std::string::npos);

    // Read by bays: bay A is arm 2's (the "BA" reply's first 'B' counts not in one-bay mode).
    SimRig bays(SimRig::Setup{.args = {"--addresses", "1-2", "--bays", "BA", "--log-range", "1:trans=none"}});
    Open(bays, 2, 1);
    ASSERT_TRUE(logs->Download(LogKind::Transaction)) << ui.LastMessage();
    EXPECT_EQ(doc->BayAddresses(), (std::array<int, 2>{2, 0}));
    EXPECT_EQ(Lines().front(), "Transaction data for Bay A");
    EXPECT_TRUE(Lines().at(1).starts_with("2,103,")) << Lines().at(1);
    EXPECT_EQ(bays.Commands().at(2), "BA");
    EXPECT_EQ(bays.Commands().at(3), "MS B");
}

TEST_F(LogDownloadSimFaults, ABusyHeaderIsAskedAgainOnceOrUntilTheBound) {
    SimRig once(SimRig::Setup{.args = Args({"--fault", "status=8038,code=0404,block=0,count=1"})});
    Open(once);
    ASSERT_TRUE(logs->Download(LogKind::Transaction));
    EXPECT_EQ(pauses, std::vector<int>{250});
    const std::vector<std::string> parts = Parts(once);
    EXPECT_EQ(std::vector<std::string>(parts.begin(), parts.begin() + 2), (std::vector<std::string>{"103/0", "103/0"}));
    EXPECT_EQ(Lines().at(1), HeaderLine103());

    SimRig always(SimRig::Setup{.args = Args({"--fault", "status=8038,code=0404,block=0", "--log-range", "trans=7-8"})});
    pauses.clear();
    Open(always);
    ASSERT_TRUE(logs->Download(LogKind::Transaction));
    EXPECT_EQ(Parts(always).size(), 2u * 21u);
    EXPECT_EQ(Parts(always).back(), "7/0");
    EXPECT_EQ(pauses.size(), 2u * 20u);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Transaction data for Arm 1", ""}));
}

TEST_F(LogDownloadSimFaults, RefusedBayTotalsStopForThisDownloadOnly) {
    SimRig device(SimRig::Setup{.args = Args({"--fault", "status=8001,code=0404,block=11"})});
    Open(device);
    for (int run = 1; run <= 2; ++run) {
        ASSERT_TRUE(logs->Download(LogKind::Transaction));
        int asked = 0;
        for (const std::string& p : Parts(device)) asked += p.ends_with("/11");
        EXPECT_EQ(asked, run) << "run " << run;
        EXPECT_EQ(ReadWhole(files.File("log.txt")).find("Bay Nonresettables"), std::string::npos);
    }
}

TEST_F(LogDownloadSimFaults, CancelKeepsAPartialFileAndOpensNothing) {
    SimRig device(SimRig::Setup{.transport = Transport::Pty, .args = Args()});
    Open(device);
    ui.CancelAfterPumps(1);
    EXPECT_FALSE(logs->Download(LogKind::Transaction));
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 5u);  // the heading and transaction 103
    EXPECT_EQ(lines[1], HeaderLine103());
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(Parts(device).back(), "103/11");
}

TEST_F(LogDownloadSimFaults, TerminalFramingOrSevenDataBitsAreRefusedBeforeAnyBlock) {
    SimRig terminal;
    Open(terminal, 1, 0, Framing::Terminal);
    EXPECT_FALSE(logs->Download(LogKind::Event));
    EXPECT_EQ(ui.LastMessage(), "Minicomputer Mode Required for this function");
    EXPECT_TRUE(terminal.Blocks().empty());

    SimRig serial(SimRig::Setup{.transport = Transport::Pty});
    IniProfile ini(paths::IniPath());
    ASSERT_TRUE(ini.WriteString(kCommSection, CommKey(SimRig::kComPort), "38400,N,7,1"));
    Open(serial);
    EXPECT_FALSE(logs->Download(LogKind::Audit));
    EXPECT_EQ(ui.LastMessage(), "An 8-Bit Data Protocol Required for this function");
    EXPECT_TRUE(serial.Blocks().empty());
    EXPECT_FALSE(serial.Commands().empty());  // it did connect
}

}  // namespace
}  // namespace qs::test
