// Editing program codes of an online document against the simulated controller: what goes on
// the wire and what the device then holds. What the edit does with each answer is the edit
// flow's unit tests'.
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

class ParamEditSim : public ::testing::TestWithParam<LinkKind> {
protected:
    RecordingUi ui;
};

TEST_P(ParamEditSim, TheEchoIsStoredAndAReadOnlyDocumentGoesOnline) {
    Rig rig(GetParam(), {});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    ASSERT_EQ(rig.doc.Connect(true), CVexa3Doc::kStateReadOnly);
    ASSERT_TRUE(rig.device.WaitForFrames(2, 2));
    const ParamEditTarget row = rig.Row(CDirectory::kSystem, 1);
    ASSERT_NE(row.param, nullptr);

    EXPECT_EQ(ParamEditFlow(rig.doc, ui.services).Edit(row, Ok("12,5")), Outcome::Written);
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

// The device's own range check refuses what the program's would have: both hold the same
// dictionary.
TEST_P(ParamEditSim, OutOfRangeRestoresTheValueAndKeepsTheState) {
    Rig rig(GetParam(), {});
    ASSERT_TRUE(rig.device.Ready()) << rig.device.Error();
    ASSERT_EQ(rig.doc.Connect(false), CVexa3Doc::kStateOnline);
    const ParamEditTarget row = rig.Row(CDirectory::kSystem, 1);
    row.param->SetValue("005.00", 0);
    rig.doc.SetModified(false);

    EXPECT_EQ(ParamEditFlow(rig.doc, ui.services).Edit(row, Ok("1000")), Outcome::Rejected);
    EXPECT_EQ(row.param->Value(0), "005.00");
    EXPECT_EQ(rig.doc.State(), CVexa3Doc::kStateOnline);
    EXPECT_FALSE(rig.doc.IsModified());
    EXPECT_EQ(ui.LastMessage(), "Unable to set System 001 Additive 1 Injection Volume to 1000.00 \n - Value out of Range");
    ASSERT_TRUE(rig.device.WaitForFrames(4, 4));
    EXPECT_EQ(rig.After(3).at(0).reply, "NO03");
}

INSTANTIATE_TEST_SUITE_P(Links, ParamEditSim,
                         ::testing::Values(LinkKind{Transport::Tcp, Framing::Mini},
                                           LinkKind{Transport::Pty, Framing::Terminal}),
                         LinkName());

}  // namespace
}  // namespace qs::test
