// The frame's read and dump commands against the simulated controller: what goes on the wire,
// in which order and to which address, what lands in the document and what the user is told.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "DocumentFixtures.h"
#include "SimRig.h"
#include "RecordingUi.h"
#include "TestEnv.h"
#include "platform/ProcessLauncher.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "appmodel/programdata/DeviceCommands.h"

namespace qs::test {
namespace {

// Two arms in use: arm 1 at the base address 2, arm 2 at 5; arms 3-6 have no address.
constexpr int kBase = 2;
constexpr int kArm2 = 5;

const char* const kState =
    "[2]\n"
    "SY 104 - RACK NORTH\n"
    "AR 101 - ARM ONE\n"
    "M1 101 4 METER 1.1\n"
    "M2 101 - METER 1.2\n"
    "05 002 - RECIPE FIVE\n"
    "[5]\n"
    "AR 101 - ARM TWO\n"
    "M2 101 - METER 2.2\n"
    "P3 101 - PRODUCT 2.3\n";

std::vector<std::string> Arguments(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--addresses", "2,5"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

class DeviceCommandsSim : public ::testing::Test {
protected:
    void Open(SimRig& device, Framing framing = Framing::Terminal) {
        ASSERT_TRUE(device.Ready()) << device.Error();
        doc = std::make_unique<CVexa3Doc>(ports, BuiltDictionary(), &options);
        doc->SetTitle("Rack 4");
        device.Attach(*doc, framing);
        doc->SetBaseAddress(kBase);
        doc->SetArmAddress(1, kArm2);
        for (int arm = 2; arm < CVexa3Doc::kMaxArms; ++arm) doc->SetArmAddress(arm, 0);
        doc->SetModified(false);
        commands = std::make_unique<DeviceCommands>(*doc, services);
    }
    CDirectory* Nth(int type, int n) const {
        int seen = 0;
        for (CDirectory* d = doc->FirstDirectory(); d; d = d->NextDirectory())
            if (d->Type() == type && seen++ == n) return d;
        return nullptr;
    }
    std::string ValueOf(int type, int number, int instance) const {
        CParam* p = doc->FindDirectory(type)->FindParam(number);
        return p ? p->Value(instance) : "<no code>";
    }
    static std::vector<std::string> CommandTexts(const std::vector<Exchange>& exchanges, size_t from = 0) {
        std::vector<std::string> out;
        for (size_t i = from; i < exchanges.size(); ++i) out.push_back(exchanges[i].command);
        return out;
    }

    RecordingUi ui;
    AppOptions options;
    ComPortTable ports;
    ProcessLauncher launcher;
    TempDir programs;
    // The core still speaks through the program's own services, which the recording fakes
    // stand in for: the commands get the same.
    AppServices services{
        .ui = Ui(), .options = options, .ports = ports, .launcher = launcher, .programDir = programs.Path()};
    std::unique_ptr<CVexa3Doc> doc;
    std::unique_ptr<DeviceCommands> commands;
};

TEST_F(DeviceCommandsSim, ReadAllWalksArmByArmAtEachArmsAddressWithRecipesLast) {
    SimRig device({Transport::Tcp, Arguments({"--fault", "reject=14,address=5,on=PV M2 101"}), kState});
    Open(device);
    ASSERT_TRUE(commands->Execute(kCmdReadAll));

    const std::vector<Exchange> all = device.Exchanges();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0].command, "PV SY 111");
    EXPECT_EQ(all[1].command, "GP");
    // The transcript as runs of one mnemonic at one address.
    std::vector<std::pair<int, std::string>> runs;
    std::set<std::pair<int, std::string>> levelsAsked;
    for (size_t i = 2; i < all.size(); ++i) {
        const Exchange& e = all[i];
        ASSERT_TRUE(e.answered) << e.command;
        ASSERT_TRUE(e.command.starts_with("PV ") || e.command.starts_with("XV ")) << e.command;
        const std::pair<int, std::string> at{e.address, e.command.substr(3, 2)};
        if (runs.empty() || runs.back() != at) runs.push_back(at);
        if (e.command.starts_with("XV")) levelsAsked.insert(at);
    }
    std::vector<std::pair<int, std::string>> expected = {{kBase, "CF"}, {kBase, "SY"}, {kBase, "AR"}};
    for (int address : {kBase, kArm2}) {
        if (address == kArm2) expected.push_back({kArm2, "AR"});
        for (const char* kind : {"M", "P"})
            for (int i = 1; i <= 6; ++i) expected.push_back({address, kind + std::to_string(i)});
        if (address == kBase) {
            expected.push_back({kBase, "BA"});
            expected.push_back({kBase, "BB"});
        }
    }
    for (int r = 1; r <= 50; ++r) expected.push_back({kBase, (r < 10 ? "0" : "") + std::to_string(r)});
    EXPECT_EQ(runs, expected);
    // Security levels belong to the first instance only.
    EXPECT_EQ(levelsAsked, (std::set<std::pair<int, std::string>>{{kBase, "CF"}, {kBase, "SY"}, {kBase, "AR"},
                                                                  {kBase, "M1"}, {kBase, "P1"}, {kBase, "BA"},
                                                                  {kBase, "BB"}, {kBase, "01"}}));

    EXPECT_EQ(ValueOf(CDirectory::kSystem, 104, 0), "RACK NORTH");
    EXPECT_EQ(ValueOf(CDirectory::kArm, 101, 0), "ARM ONE");
    EXPECT_EQ(ValueOf(CDirectory::kArm, 101, 1), "ARM TWO");
    EXPECT_EQ(ValueOf(CDirectory::kMeter, 101, 1), "METER 1.2");
    EXPECT_EQ(ValueOf(CDirectory::kProduct, 101, 2 + 6), "PRODUCT 2.3");
    EXPECT_EQ(ValueOf(CDirectory::kRecipe, 2, 4), "RECIPE FIVE");
    EXPECT_EQ(doc->FindDirectory(CDirectory::kMeter)->FindParam(101)->Level(), 3);
    // The refused code: logged, empty, and the walk went on past it.
    EXPECT_EQ(ValueOf(CDirectory::kMeter, 101, 1 + 6), "");
    EXPECT_EQ(ui.errorLog.Lines(),
              std::vector<std::string>{"Unable to read Arm 2 Meter 2 101 Meter Name : Program Code Not Used"});

    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0]->title, "Reading Duravane.NET...");
    EXPECT_EQ(ui.progress[0]->texts.at(0), "Reading data to Rack 4");
    EXPECT_EQ(ui.progress[0]->upper, doc->TotalCodes());
    EXPECT_EQ(ui.progress[0]->pos, doc->TotalCodes());
    EXPECT_TRUE(ui.progress[0]->waitedForClose);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateReadOnly);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(DeviceCommandsSim, ACancelledReadAllSendsNothingAfterTheStepItStoppedAt) {
    SimRig device({Transport::Tcp, Arguments(), kState});
    Open(device);
    constexpr int kStep = 40;
    ui.CancelAfterPumps(kStep);
    EXPECT_FALSE(commands->ReadAll());
    const std::vector<Exchange> all = device.Exchanges();
    std::vector<std::string> values;
    for (size_t i = 2; i < all.size(); ++i)
        if (all[i].command.starts_with("PV")) values.push_back(all[i].command);
    EXPECT_EQ(values.size(), static_cast<size_t>(kStep));
    // The last thing on the wire is the value read at that step, answered; no level after it.
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back().command, values.back());
    EXPECT_TRUE(all.back().answered);
    EXPECT_EQ(ui.progress.at(0)->pos, kStep);
    EXPECT_FALSE(ui.progress[0]->waitedForClose);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(DeviceCommandsSim, ReadAllOnASilentDeviceLeavesTheDocumentAsItWas) {
    SimRig device({Transport::Tcp, Arguments({"--persona", "silent"}), ""});
    Open(device);
    // The link's waits run on a clock that moves a second at each turn of the wait.
    ScopedIdleClock clock(1000);
    ASSERT_TRUE(doc->SetParamText(CDirectory::kSystem, 104, 0, "OUR OWN NAME"));
    doc->SetModified(false);
    EXPECT_FALSE(commands->Execute(kCmdReadAll));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Duravane.NET not responding"});
    EXPECT_EQ(ValueOf(CDirectory::kSystem, 104, 0), "OUR OWN NAME");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(ui.progress.at(0)->waitedForClose);
    EXPECT_EQ(CommandTexts(device.Exchanges()), std::vector<std::string>{"PV SY 111"});
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateOffline);
}

TEST_F(DeviceCommandsSim, DumpAllOnAReadOnlyDeviceSaysWhyAndWritesNothing) {
    SimRig device({Transport::Tcp, Arguments({"--persona", "readonly"}), kState});
    Open(device);
    ASSERT_TRUE(doc->SetParamText(CDirectory::kSystem, 104, 0, "NEW NAME"));
    EXPECT_FALSE(commands->Execute(kCmdDumpAll));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Cannot program Duravane.NET - Operation Not Allowed"});
    ASSERT_TRUE(device.WaitForFrames(3, 3));
    const std::vector<Exchange> all = device.Exchanges();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2].command.substr(0, 10), "PC SY 111 ");
    EXPECT_EQ(all[2].reply, "NO06");
    EXPECT_EQ(doc->State(), CVexa3Doc::kStateReadOnly);
    EXPECT_TRUE(ui.progress.empty());
}

TEST_F(DeviceCommandsSim, DumpsEndWithLoAndTheCompletionWait) {
    SimRig device({Transport::Tcp, Arguments(), kState});
    Open(device);
    ASSERT_TRUE(doc->SetParamText(CDirectory::kSystem, 104, 0, "DUMPED NAME"));
    ASSERT_TRUE(doc->FindDirectory(CDirectory::kArm)->FindParam(101)->SetValue("DUMPED ARM", 1));

    ASSERT_TRUE(commands->Execute(kCmdDumpAll));
    std::vector<std::string> sent = CommandTexts(device.Exchanges());
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(sent.back(), "LO");
    EXPECT_EQ(device.Exchanges().back().address, kBase);
    std::set<std::pair<int, std::string>> writes;
    for (const Exchange& e : device.Exchanges())
        if (e.command.starts_with("PC") && e.command.substr(3, 6) != "SY 111") writes.insert({e.address, e.command});
    EXPECT_EQ(writes, (std::set<std::pair<int, std::string>>{{kBase, "PC SY 104 DUMPED NAME"},
                                                             {kArm2, "PC AR 101 DUMPED ARM"}}));
    EXPECT_TRUE(ui.progress.at(0)->waitedForClose);

    // The selection: one subdirectory of arm 2.
    const size_t before = device.Exchanges().size();
    FrameSelection s;
    s.directory = Nth(CDirectory::kArm, 1);
    s.subdirectory = s.directory->Subdirectory(1);
    s.instance = 1;
    s.arm = 1;
    commands->SetSelection(s);
    ASSERT_TRUE(commands->Execute(kCmdDumpSelection));
    sent = CommandTexts(device.Exchanges(), before);
    EXPECT_EQ(sent, (std::vector<std::string>{"PV SY 111", "PC SY 111 0", "PC AR 101 DUMPED ARM", "LO"}));
    EXPECT_TRUE(ui.progress.at(1)->waitedForClose);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

TEST_F(DeviceCommandsSim, ConfirmWritesCancelledStopsEachDumpAtItsQuestion) {
    SimRig device({Transport::Tcp, Arguments(), kState});
    Open(device);
    options.ConfirmWrites = true;
    ASSERT_TRUE(doc->SetParamText(CDirectory::kSystem, 104, 0, "NOT SENT"));
    FrameSelection s;
    s.directory = doc->FindDirectory(CDirectory::kSystem);
    s.subdirectory = s.directory->Subdirectory(1);
    s.arm = 0;
    commands->SetSelection(s);

    ui.prompt.Answer(IDCANCEL);
    EXPECT_FALSE(commands->Execute(kCmdDumpSelection));
    // Asked before connecting: not a byte went out.
    EXPECT_TRUE(device.Sim().ReadLog().empty());

    ui.prompt.Answer(IDCANCEL);
    EXPECT_FALSE(commands->Execute(kCmdDumpAll));
    const std::vector<std::string> sent = CommandTexts(device.Exchanges());
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], "PV SY 111");
    EXPECT_EQ(sent[1], "GP");
    EXPECT_EQ(sent[2], "PC SY 111 0");  // the write test, and nothing after it
    const std::string question = "You are currently online; are you sure you want to modify the device?";
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{question, question}));
    EXPECT_TRUE(ui.progress.empty());
}

TEST_F(DeviceCommandsSim, ReadSelectionOfAnArmAlsoReadsItsMetersAndProductsOverThePty) {
    SimRig device({Transport::Pty, Arguments(), kState});
    Open(device, Framing::Mini);
    FrameSelection s;
    s.directory = Nth(CDirectory::kArm, 1);
    s.instance = 1;
    s.arm = 1;
    commands->SetSelection(s);
    ASSERT_TRUE(commands->Execute(kCmdReadSelection));

    const std::vector<Exchange> all = device.Exchanges();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0].command, "PV SY 111");
    std::vector<std::string> runs;
    for (size_t i = 2; i < all.size(); ++i) {
        EXPECT_EQ(all[i].address, kArm2) << all[i].command;
        EXPECT_TRUE(all[i].command.starts_with("PV ")) << all[i].command;
        const std::string m = all[i].command.substr(3, 2);
        if (runs.empty() || runs.back() != m) runs.push_back(m);
    }
    EXPECT_EQ(runs, (std::vector<std::string>{"AR", "M1", "M2", "M3", "M4", "M5", "M6", "P1", "P2", "P3", "P4", "P5",
                                              "P6"}));
    EXPECT_EQ(ValueOf(CDirectory::kArm, 101, 1), "ARM TWO");
    EXPECT_EQ(ValueOf(CDirectory::kMeter, 101, 1 + 6), "METER 2.2");
    EXPECT_EQ(ValueOf(CDirectory::kProduct, 101, 2 + 6), "PRODUCT 2.3");
    // Arm 1's values were not read.
    EXPECT_EQ(ValueOf(CDirectory::kArm, 101, 0), "");
    EXPECT_TRUE(ui.progress.at(0)->waitedForClose);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
}

}  // namespace
}  // namespace qs::test
