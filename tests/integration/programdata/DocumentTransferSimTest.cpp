// Read All and Dump All of a three-arm configuration against the simulated controller. What
// the document holds is checked against the simulator's frame log and against the simulator's
// store as read back command by command with a protocol of the link layer alone.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "DeviceStore.h"
#include "DocumentFixtures.h"
#include "SimRig.h"
#include "RecordingUi.h"
#include "link/DX3Protocol.h"
#include "link/TerminalProtocol.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"

namespace qs::test {
namespace {

constexpr int kArms = 6;
constexpr int kActiveArms = 3;

// The three-arm configuration of the device read from, with values of its own at every arm.
std::string SourceState() {
    std::string s = "[1]\nCF 001 - 3\nCF 002 - 2\nCF 003 - 3\nCF 004 - 0\nCF 006 - 1\nCF 007 - 2\n"
                    "SY 104 - RACK 4 NORTH\nSY 111 3 1\nSY 101 - 10001\nBA 101 - SOUTH BAY\n"
                    "05 002 2 RECIPE FIVE\n";
    for (int a = 1; a <= kArms; ++a) {
        const std::string n = std::to_string(a);
        s += "[" + n + "]\nAR 101 - ARM " + n + "\nAR 107 - LANE " + n + "\nAR 108 - " + n + "\n";
        for (int m = 1; m <= 3; ++m) s += "M" + std::to_string(m) + " 101 4 METER " + n + "." + std::to_string(m) + "\n";
        s += "M3 103 - " + n + "2.125\nP2 101 - PRODUCT " + n + ".2\n";
    }
    return s;
}

// The device dumped to: its own values where the write rules send nothing.
std::string TargetState() {
    return "[1]\nSY 101 - 20002\n[4]\nAR 101 - OTHER ARM\nAR 107 - OTHER LANE\nM1 101 - OTHER METER\n[5]\n"
           "P2 101 - OTHER PRODUCT\n[6]\nM3 103 - 77.5\n";
}

class DocumentTransferSim : public ::testing::Test {
protected:
    RecordingUi ui;
    ComPortTable ports;
};

TEST_F(DocumentTransferSim, ReadAllThenDumpAllOfAThreeArmConfiguration) {
    SimRig source({Transport::Tcp, {"--addresses", "1-6"}, SourceState()});
    ASSERT_TRUE(source.Ready()) << source.Error();
    CVexa3Doc doc(ports, BuiltDictionary());
    source.Attach(doc, Framing::Mini);

    // ---- Read All
    ASSERT_EQ(doc.Connect(true), CVexa3Doc::kStateReadOnly);
    ASSERT_TRUE(source.WaitForFrames(2, 2));
    const size_t connectFrames = source.Exchanges().size();
    auto bar = MakeProgress("Reading Duravane.NET...");
    bar->SetRange(0, doc.TotalCodes());
    ASSERT_TRUE(doc.ReadAllFromDevice(bar.get()));
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_TRUE(ui.errorLog.lines.empty());
    EXPECT_EQ(ui.progress.back()->pos, doc.TotalCodes());

    const std::vector<Key> codes = DeviceCodes(doc);
    std::vector<Exchange> read;
    {
        const auto all = source.Exchanges();
        read.assign(all.begin() + static_cast<long>(connectFrames), all.end());
    }
    std::set<Key> valuesRead, levelsRead;
    for (const Exchange& e : read) {
        ASSERT_TRUE(e.answered) << e.command;
        ASSERT_GE(e.command.size(), 9u);
        const Key k{e.address, e.command.substr(3, 2), std::stoi(e.command.substr(6, 3))};
        const Place at = PlaceOf(e.address, std::get<1>(k));
        CParam* p = CodeOf(doc, k);
        ASSERT_NE(p, nullptr) << KeyText(k);
        ASSERT_TRUE(e.reply.starts_with(e.command + " ")) << e.reply;
        const std::string value = e.reply.substr(10);
        if (e.command.starts_with("PV")) {
            EXPECT_TRUE(valuesRead.insert(k).second) << "read twice: " << KeyText(k);
            EXPECT_EQ(p->Value(at.instance), value) << KeyText(k);
        } else {
            ASSERT_TRUE(e.command.starts_with("XV")) << e.command;
            EXPECT_TRUE(levelsRead.insert(k).second) << "level read twice: " << KeyText(k);
            EXPECT_EQ(p->Level(), value == "0" ? CParam::kLevelNone : std::stoi(value) - 1) << KeyText(k);
        }
    }
    EXPECT_EQ(valuesRead, std::set<Key>(codes.begin(), codes.end()));
    EXPECT_EQ(valuesRead.size(), static_cast<size_t>(doc.TotalCodes()));
    // Every arm's own values arrived.
    for (int a = 1; a <= kArms; ++a) {
        const std::string n = std::to_string(a);
        EXPECT_EQ(CodeOf(doc, {a, "AR", 101})->Value(a - 1), "ARM " + n);
        EXPECT_EQ(CodeOf(doc, {a, "M2", 101})->Value(1 + (a - 1) * 6), "METER " + n + ".2");
        EXPECT_EQ(CodeOf(doc, {a, "P2", 101})->Value(1 + (a - 1) * 6), "PRODUCT " + n + ".2");
    }
    EXPECT_EQ(CodeOf(doc, {1, "M1", 101})->Level(), 3);
    EXPECT_EQ(CodeOf(doc, {1, "05", 2})->Value(4), "RECIPE FIVE");

    ASSERT_TRUE(doc.ApplyConfiguration());
    ASSERT_EQ(doc.ActiveArmCount(), kActiveArms);

    // ---- Dump All to another device, over a pty
    SimRig target({Transport::Pty,
                      {"--addresses", "1-6", "--fault", "reject=03,on=PC SY 104", "--fault",
                       "reject=14,address=2,on=PC M2 101", "--fault", "reject=03,on=XC SY 111"},
                      TargetState()});
    ASSERT_TRUE(target.Ready()) << target.Error();
    const std::set<Key> firstInstance = FirstInstanceCodes(codes);  // codes whose level a dump may write
    std::map<Key, Held> before;
    {
        auto raw = target.Open(Framing::Terminal);
        ASSERT_GE(raw->Port()->State(), kStateOpen);
        before = ReadStore(*raw, codes, firstInstance);
    }
    ASSERT_TRUE(target.WaitForFrames(codes.size() + firstInstance.size(), codes.size() + firstInstance.size()));
    const size_t snapshotFrames = target.Exchanges().size();

    target.Attach(doc, Framing::Terminal);
    ASSERT_EQ(doc.Connect(false), CVexa3Doc::kStateOnline);
    AddTransferError(&doc, "a line of an earlier dump");
    ASSERT_TRUE(doc.WriteAllToDevice(nullptr));
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    EXPECT_EQ(ui.errorLog.Lines(),
              (std::vector<std::string>{
                  "Unable to Program System 104 Terminal Name to RACK 4 NORTH : Value out of Range",
                  "Could Not Set Security Level for System 111 Date Format : Value out of Range",
                  "Unable to Program Arm 2 Meter 2 101 Meter Name to METER 2.2 : Program Code Not Used"}));

    // What the write rules send: values of codes that are not read-only, on arms in use (arms
    // beyond them only their position codes 107 and 108), and the levels of the first instance.
    std::map<Key, std::string> valuesSent, levelsSent;
    for (const Key& k : codes) {
        const auto [address, mnemonic, number] = k;
        const CParam* p = CodeOf(doc, k);
        const Place at = PlaceOf(address, mnemonic);
        if (p->IsReadOnly()) continue;
        const bool inactive = address - 1 >= kActiveArms;
        if (inactive && (mnemonic[0] == 'M' || mnemonic[0] == 'P')) continue;
        if (inactive && mnemonic == "AR" && number != 107 && number != 108) continue;
        if (const std::string v = p->FormatValue(at.instance); !v.empty()) valuesSent[k] = v;
        const bool locked = mnemonic == "SY" && number >= 156 && number <= 158;
        if (at.instance == 0 && p->Level() != CParam::kLevelNone && !locked)
            levelsSent[k] = std::to_string(p->Level() + 1);
    }
    std::map<Key, std::string> pcLog, xcLog;
    std::vector<Exchange> dump;
    {
        const auto all = target.Exchanges();
        // After the connection: the probe, the identification and the write test.
        auto first = all.begin() + static_cast<long>(snapshotFrames);
        ASSERT_GE(all.end() - first, 3);
        EXPECT_EQ(first[0].command, "PV SY 111");
        EXPECT_EQ(first[1].command, "GP");
        EXPECT_EQ(first[2].command, "PC SY 111 0");
        dump.assign(first + 3, all.end());
    }
    for (const Exchange& e : dump) {
        const Key k{e.address, e.command.substr(3, 2), std::stoi(e.command.substr(6, 3))};
        if (e.command.starts_with("PC")) pcLog[k] = e.command.substr(10);
        else if (e.command.starts_with("XC")) xcLog[k] = e.command.substr(10);
        else ADD_FAILURE() << "unexpected command " << e.command;
    }
    auto differences = [](const std::map<Key, std::string>& got, const std::map<Key, std::string>& want) {
        std::string out;
        for (const auto& [k, v] : got)
            if (!want.count(k) || want.at(k) != v) out += "sent " + KeyText(k) + " " + v + "\n";
        for (const auto& [k, v] : want)
            if (!got.count(k) || got.at(k) != v) out += "expected " + KeyText(k) + " " + v + "\n";
        return out;
    };
    EXPECT_EQ(differences(pcLog, valuesSent), "");
    EXPECT_EQ(differences(xcLog, levelsSent), "");
    EXPECT_EQ(pcLog.size(), dump.size() - xcLog.size());  // nothing sent twice, no "LO"

    // The store: what was sent and taken, else what it held before.
    ASSERT_TRUE(doc.SendLoCommand());
    ASSERT_TRUE(target.WaitForFrames(snapshotFrames + 3 + dump.size() + 1, snapshotFrames + 3 + dump.size() + 1));
    EXPECT_EQ(target.Exchanges().back().command, "LO");
    EXPECT_EQ(target.Exchanges().back().reply, "LO");
    doc.ReleaseProtocol();
    const std::set<Key> refusedValues = {{1, "SY", 104}, {2, "M2", 101}}, refusedLevels = {{1, "SY", 111}};
    std::map<Key, Held> after;
    {
        auto raw = target.Open(Framing::Terminal);
        ASSERT_GE(raw->Port()->State(), kStateOpen);
        after = ReadStore(*raw, codes, firstInstance);
    }
    size_t changed = 0;
    for (const Key& k : codes) {
        const Held& was = before.at(k);
        const Held& now = after.at(k);
        if (valuesSent.count(k) && !refusedValues.count(k)) {
            EXPECT_EQ(now.value, valuesSent.at(k)) << KeyText(k);
        } else {
            EXPECT_EQ(now.value, was.value) << KeyText(k);
        }
        if (levelsSent.count(k) && !refusedLevels.count(k)) {
            EXPECT_EQ(now.level, levelsSent.at(k)) << KeyText(k);
        } else {
            EXPECT_EQ(now.level, was.level) << KeyText(k);
        }
        changed += now.value != was.value ? 1 : 0;
    }
    // The skipped codes held values of their own that the document's differ from.
    EXPECT_EQ(after.at({4, "AR", 101}).value, "OTHER ARM");
    EXPECT_EQ(after.at({4, "AR", 107}).value, "LANE 4");
    EXPECT_EQ(after.at({4, "M1", 101}).value, "OTHER METER");
    EXPECT_EQ(after.at({5, "P2", 101}).value, "OTHER PRODUCT");
    EXPECT_EQ(after.at({6, "M3", 103}).value, "77.5");
    EXPECT_EQ(after.at({1, "SY", 101}).value, "20002");
    EXPECT_EQ(after.at({1, "SY", 104}).value, before.at({1, "SY", 104}).value);
    EXPECT_EQ(after.at({2, "M2", 101}).value, before.at({2, "M2", 101}).value);
    EXPECT_EQ(after.at({1, "05", 2}).value, "RECIPE FIVE");
    EXPECT_GT(changed, 20u);
}

}  // namespace
}  // namespace qs::test
