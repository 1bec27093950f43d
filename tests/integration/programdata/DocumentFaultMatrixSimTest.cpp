// Read All over TCP/IP against the simulated controller under each fault it offers, with
// Ignore chosen whenever a reply fails: every value and level the document holds afterwards is
// the device's, or empty where Ignore was chosen or the device refused the read (and the
// refusal is in the transfer-error log); never another value.
#include <gtest/gtest.h>

#include <set>

#include "DeviceStore.h"
#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "SimRig.h"
#include "link/ComPortTable.h"
#include "platform/Prompt.h"

namespace qs::test {
namespace {

struct FaultRow {
    const char* name;
    const char* fault;
    Framing framing;
    int failedReplies;  // Abort/Retry/Ignore boxes the fault causes
    int refusals;       // lines in the transfer-error log
    bool completes;     // Read All runs to its end
};

const FaultRow kRows[] = {
    {"DelayBeyondTheTimeOut", "delay=4500,count=1,on=PV CF 753", Framing::Mini, 1, 0, true},
    {"DelayedLevel", "delay=4500,count=1,on=XV SY 104", Framing::Terminal, 1, 0, true},
    {"Drop", "drop,count=2,on=PV CF 1", Framing::Mini, 2, 0, true},
    {"Noise", "noise=40,count=5,on=PV CF", Framing::Terminal, 0, 0, true},
    {"BadLrc", "bad-lrc,count=2,on=PV CF 2", Framing::Mini, 2, 0, true},
    {"MissingCr", "no-cr,count=2,on=XV CF 3", Framing::Terminal, 2, 0, true},
    {"OverLongReply", "long-reply=5000,count=2,on=PV CF 5", Framing::Mini, 2, 0, true},
    {"OverLongReplyTerminal", "long-reply=5000,count=2,on=PV CF 5", Framing::Terminal, 2, 0, true},
    {"Rejection", "reject=14,count=3,on=PV CF 9", Framing::Terminal, 0, 3, true},
    // The link is gone: the reply that never came is ignored, the next command cannot go out.
    {"CloseAfterN", "close-after=400,count=1", Framing::Mini, 1, 0, false},
};

void PrintTo(const FaultRow& row, std::ostream* os) { *os << row.fault; }

class DocumentFaultMatrixSim : public ::testing::TestWithParam<FaultRow> {};

TEST_P(DocumentFaultMatrixSim, ReadAllWithIgnoreNeverKeepsAnotherValue) {
    const FaultRow& row = GetParam();
    SimRig sim({Transport::Tcp,
                {"--addresses", "1-6", "--fault", row.fault},
                "[1]\nCF 753 4 12\nCF 754 - 0\nSY 104 3 NORTH RACK\n[2]\nAR 101 - ARM TWO\n"});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    RecordingUi ui;
    int ignored = 0;
    ui.prompt.byType = [&](unsigned type) -> int {
        if ((type & MB_TYPEMASK) != MB_ABORTRETRYIGNORE) return DefaultAnswer(type);
        ++ignored;
        return IDIGNORE;
    };
    ComPortTable ports;
    CVexa3Doc doc(ports, BuiltDictionary());
    sim.Attach(doc, row.framing);
    ASSERT_EQ(doc.Connect(true), CVexa3Doc::kStateReadOnly);
    const size_t connectExchanges = sim.Exchanges().size();

    auto bar = MakeProgress("Reading Duravane.NET...");
    EXPECT_EQ(doc.ReadAllFromDevice(bar.get()), row.completes);
    EXPECT_EQ(ignored, row.failedReplies) << ui.LastMessage();
    EXPECT_EQ(ui.errorLog.lines.size(), static_cast<size_t>(row.refusals));

    // The codes the device was asked for; the others were never read.
    std::set<Key> asked, levelsAsked;
    const auto exchanges = sim.Exchanges();
    for (size_t i = connectExchanges; i < exchanges.size(); ++i) {
        const Exchange& e = exchanges[i];
        ASSERT_GE(e.command.size(), 9u) << e.command;
        const Key k{e.address, e.command.substr(3, 2), std::stoi(e.command.substr(6, 3))};
        (e.command.starts_with("XV") ? levelsAsked : asked).insert(k);
    }
    ASSERT_FALSE(asked.empty());
    if (row.completes) {
        EXPECT_EQ(asked.size(), DeviceCodes(doc).size());
    }

    auto raw = sim.Open(Framing::Terminal);
    ASSERT_GE(raw->Port()->State(), kStateOpen);
    const auto store = ReadStore(*raw, std::vector<Key>(asked.begin(), asked.end()), levelsAsked);
    const ReadCheck check = CheckRead(
        store, levelsAsked, [&](const Key& k) -> const CParam* { return CodeOf(doc, k); },
        [](const Key& k) { return PlaceOf(std::get<0>(k), std::get<1>(k)).instance; });
    EXPECT_EQ(check.wrong, std::vector<std::string>{});
    EXPECT_LE(check.emptied + check.levelsMissed, row.failedReplies + row.refusals);
    for (const std::string& line : ui.errorLog.Lines())
        EXPECT_TRUE(line.starts_with("Unable to read Config ") && line.ends_with(" : Program Code Not Used")) << line;
}

INSTANTIATE_TEST_SUITE_P(Faults, DocumentFaultMatrixSim, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<FaultRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qs::test
