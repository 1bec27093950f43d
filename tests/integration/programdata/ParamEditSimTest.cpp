// Editing program codes of an online document against the simulated controller: what goes on
// the wire, what the document keeps, and the state the device's answers leave it in.
#include <gtest/gtest.h>

#include "DocumentFixtures.h"
#include "SimRig.h"
#include "RecordingUi.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "appmodel/programdata/ParamEditFlow.h"

namespace qs::test {
namespace {

using Outcome = ParamEditFlow::Outcome;

// A document attached to its own simulator.
struct Rig {
    Rig(const LinkKind& kind, std::vector<std::string> args, AppOptions* options = nullptr)
        : device({kind.transport, std::move(args)}), doc(ports, BuiltDictionary(), options) {
        if (device.Ready()) device.Attach(doc, kind.framing);
    }

    // The row of a code: the nth directory of its type, the subdirectory of its hundreds.
    ParamEditTarget Row(int type, int number, int nth = 0, int arm = 0) {
        int seen = 0;
        for (CDirectory* d = doc.FirstDirectory(); d != nullptr; d = d->NextDirectory()) {
            if (d->Type() != type || seen++ != nth) continue;
            CSubdirectory* holder = nullptr;
            CParam* p = d->FindParam(number, &holder);
            return {holder, p, arm};
        }
        return {};
    }

    // The text commands received after the first `skip`, with their device addresses.
    std::vector<Exchange> After(size_t skip) const {
        std::vector<Exchange> all = device.Exchanges();
        return all.size() > skip ? std::vector<Exchange>(all.begin() + static_cast<long>(skip), all.end())
                                 : std::vector<Exchange>{};
    }

    SimRig device;
    ComPortTable ports;
    CVexa3Doc doc;
};

ParamEditFlow::DialogRunner Ok(const std::string& value, int level = -1) {
    return [value, level](ParamEditRequest& r) {
        r.newValue = value;
        r.newLevel = level;
        return true;
    };
}

const LinkKind kTcpMini{Transport::Tcp, Framing::Mini};
const LinkKind kPtyTerminal{Transport::Pty, Framing::Terminal};

class ParamEditSim : public ::testing::Test {
protected:
    RecordingUi ui;
};

TEST_F(ParamEditSim, TheEchoIsStoredAndAReadOnlyDocumentGoesOnline) {
    Rig rig(kTcpMini, {});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    ASSERT_EQ(rig.doc.Connect(true), CVexa3Doc::kStateReadOnly);
    ASSERT_TRUE(rig.device.WaitForFrames(2, 2));
    const ParamEditTarget row = rig.Row(CDirectory::kSystem, 1);
    ASSERT_NE(row.param, nullptr);

    EXPECT_EQ(ParamEditFlow(rig.doc).Edit(row, Ok("12,5")), Outcome::Written);
    EXPECT_EQ(rig.doc.State(), CVexa3Doc::kStateOnline);
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();
    ASSERT_TRUE(rig.device.WaitForFrames(3, 3));
    const auto sent = rig.After(2);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].command, "PC SY 001 012.50");
    EXPECT_EQ(sent[0].reply, "PC SY 001 012.50");
    EXPECT_EQ(row.param->Value(0), "012.50");
    EXPECT_TRUE(rig.doc.IsModified());

    // What the device now holds is what a read gives back.
    ASSERT_EQ(rig.doc.SendCommand("PV SY 001"), "PV SY 001 012.50");
}

TEST_F(ParamEditSim, TheWriteGoesToTheSelectedArmsAddress) {
    Rig rig(kPtyTerminal, {"--addresses", "1,2,41"});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    rig.doc.SetArmAddress(2, 41);
    ASSERT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateOnline);
    ASSERT_TRUE(rig.device.WaitForFrames(3, 3));

    // Meter 2 of arm 3, then a System code (arm 1, the base address).
    const ParamEditTarget meter = rig.Row(CDirectory::kMeter, 732, 1, 2);
    EXPECT_EQ(ParamEditFlow(rig.doc).Edit(meter, Ok("07:05A")), Outcome::Written);
    const ParamEditTarget system = rig.Row(CDirectory::kSystem, 682);
    EXPECT_EQ(ParamEditFlow(rig.doc).Edit(system, Ok("30")), Outcome::Written);
    ASSERT_TRUE(rig.device.WaitForFrames(5, 5));
    const auto sent = rig.After(3);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].command, "PC M2 732 07:05A");
    EXPECT_EQ(sent[0].address, 41);
    EXPECT_EQ(sent[1].command, "PC SY 682 030");
    EXPECT_EQ(sent[1].address, 1);
    EXPECT_EQ(meter.param->Value(1 + 2 * 6), "07:05A");
    EXPECT_EQ(meter.param->Value(1), "") << "arm 1's meter 2 is another value";
    EXPECT_EQ(system.param->Value(0), "030");
}

TEST_F(ParamEditSim, ConfirmWritesWithCancelSendsNothing) {
    AppOptions options;
    options.ConfirmWrites = true;
    Rig rig(kTcpMini, {}, &options);
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    ASSERT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateOnline);
    rig.doc.SetModified(false);
    const ParamEditTarget row = rig.Row(CDirectory::kSystem, 682);
    row.param->SetValue("000", 0);

    ui.prompt.Answer(IDCANCEL);
    EXPECT_EQ(ParamEditFlow(rig.doc).Edit(row, Ok("45", 2)), Outcome::Cancelled);
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{ParamEditFlow::kConfirmMessage}));
    EXPECT_EQ(row.param->Value(0), "000");
    EXPECT_FALSE(rig.doc.IsModified());

    // A command sent now is the next one the device sees: nothing went between.
    ASSERT_TRUE(rig.doc.SendCommand("PV SY 682"));
    ASSERT_TRUE(rig.device.WaitForFrames(4, 4));
    EXPECT_EQ(rig.device.Commands(), (std::vector<std::string>{"PV SY 111", "GP", "PC SY 111 0", "PV SY 682"}));
}

TEST_F(ParamEditSim, OutOfRangeRestoresTheValueAndKeepsTheState) {
    Rig rig(kTcpMini, {});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    ASSERT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateOnline);
    const ParamEditTarget row = rig.Row(CDirectory::kSystem, 1);
    row.param->SetValue("005.00", 0);
    rig.doc.SetModified(false);

    EXPECT_EQ(ParamEditFlow(rig.doc).Edit(row, Ok("1000")), Outcome::Rejected);
    EXPECT_EQ(row.param->Value(0), "005.00");
    EXPECT_EQ(rig.doc.State(), CVexa3Doc::kStateOnline);
    EXPECT_FALSE(rig.doc.IsModified());
    EXPECT_EQ(ui.LastMessage(), "Unable to set System 001 Additive 1 Injection Volume to 1000.00 \n - Value out of Range");
    ASSERT_TRUE(rig.device.WaitForFrames(4, 4));
    EXPECT_EQ(rig.After(3).at(0).reply, "NO03");
}

TEST_F(ParamEditSim, AnotherRejectionDropsTheDocumentToReadOnly) {
    Rig rig(kTcpMini, {"--fault", "reject=24,on=PC SY 682"});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    ASSERT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateOnline);
    const ParamEditTarget row = rig.Row(CDirectory::kSystem, 682);
    row.param->SetValue("000", 0);

    EXPECT_EQ(ParamEditFlow(rig.doc).Edit(row, Ok("20")), Outcome::Rejected);
    EXPECT_EQ(rig.doc.State(), CVexa3Doc::kStateReadOnly);
    EXPECT_EQ(row.param->Value(0), "000");
    EXPECT_EQ(ui.LastMessage(), "Unable to set System 682 Alarm Horn Timeout (sec) to 020 \n - Must be in Program Mode");

    // A write the device takes brings it back online.
    EXPECT_EQ(ParamEditFlow(rig.doc).Edit(rig.Row(CDirectory::kSystem, 1), Ok("3")), Outcome::Written);
    EXPECT_EQ(rig.doc.State(), CVexa3Doc::kStateOnline);
}

TEST_F(ParamEditSim, TheLevelIsWrittenOnlyWhenChosenAndChanged) {
    Rig rig(kTcpMini, {});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    ASSERT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateOnline);
    const ParamEditTarget row = rig.Row(CDirectory::kSystem, 682);
    row.param->SetLevel(3);  // level 4, as the device has it

    ParamEditFlow flow(rig.doc);
    EXPECT_EQ(flow.Edit(row, Ok("10", 3)), Outcome::Written);   // same level
    EXPECT_EQ(flow.Edit(row, Ok("11", -1)), Outcome::Written);  // none chosen
    EXPECT_EQ(flow.Edit(row, Ok("12", 1)), Outcome::Written);   // level 2
    EXPECT_EQ(row.param->Level(), 1);
    // Meter 2 cannot set the level of the code it shares with meter 1.
    const ParamEditTarget meter2 = rig.Row(CDirectory::kMeter, 103, 1, 0);
    EXPECT_EQ(flow.Edit(meter2, Ok("1.5", 0)), Outcome::Written);

    ASSERT_TRUE(rig.device.WaitForFrames(8, 8));
    std::vector<std::string> commands;
    for (const Exchange& e : rig.After(3)) commands.push_back(e.command);
    EXPECT_EQ(commands, (std::vector<std::string>{"PC SY 682 010", "PC SY 682 011", "PC SY 682 012", "XC SY 682 2",
                                                  "PC M2 103 1.500"}));
    ASSERT_EQ(rig.doc.SendCommand("XV SY 682"), "XV SY 682 2");
}

TEST_F(ParamEditSim, ASecondDocumentIsUnaffectedByTheFirst) {
    Rig first(kTcpMini, {});
    Rig second(kTcpMini, {});
    ASSERT_TRUE(first.device.Ready()) << first.device.Error();
    ASSERT_TRUE(second.device.Ready()) << second.device.Error();
    ASSERT_EQ(first.doc.Connect(false), CVexa3Doc::kStateOnline);
    ASSERT_EQ(second.doc.Connect(true), CVexa3Doc::kStateReadOnly);
    const ParamEditTarget mine = first.Row(CDirectory::kSystem, 682);
    const ParamEditTarget theirs = second.Row(CDirectory::kSystem, 682);
    theirs.param->SetValue("007", 0);
    second.doc.SetModified(false);

    EXPECT_EQ(ParamEditFlow(first.doc).Edit(mine, Ok("25")), Outcome::Written);
    EXPECT_EQ(mine.param->Value(0), "025");
    EXPECT_EQ(theirs.param->Value(0), "007");
    EXPECT_FALSE(second.doc.IsModified());
    EXPECT_EQ(second.doc.State(), CVexa3Doc::kStateReadOnly);
    ASSERT_TRUE(second.device.WaitForFrames(2, 2));
    EXPECT_EQ(second.device.Commands(), (std::vector<std::string>{"PV SY 111", "GP"}));

    // A row of the first document is not edited through the second.
    EXPECT_EQ(ParamEditFlow(second.doc).Edit(mine, Ok("30")), Outcome::NotEditable);
}

}  // namespace
}  // namespace qs::test
