// A document the new-device wizard filled, dumped to the simulated controller: the device takes
// every value the wizard wrote, each at the address of its arm.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "DocumentFixtures.h"
#include "RecordingUi.h"
#include "SimRig.h"
#include "appmodel/wizard/WizardModel.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"

namespace qs::test {
namespace {

using A = WizardAnswers;

// Two arms with most of what the pages ask: a 3-meter ratio arm with analog valves, shared and
// own transducers and a density frequency input; a sequential arm with block valves; metered,
// piston and Ferrix additives; both pulse outputs; shared inputs and outputs.
WizardModel RichLayout() {
    WizardModel w(6, 6, 24);
    A& a = w.answers;
    a.aicbBoards = 1;
    a.dualPulse = true;
    w.SetArmType(0, 9);
    a.meters[0][0] = {A::kValveDigital, A::kRtdOrFrequency, A::kRtdOrFrequency, A::kCurrent};
    a.meters[0][1] = {A::kValveAnalog, A::kShared, A::kVoltage, A::kPressureShared, 1, 0, 1};
    a.meters[0][2] = {A::kValveTwoStage, A::kCurrent, A::kShared, A::kNone, 0, 1};
    w.SetArmType(1, 3);
    a.armAddress[1] = 7;
    a.blockValveOutputs[1] = 1;
    a.blockValveFeedback[1] = true;
    a.armInputs[1] = {true, true, false, true, false, true, false};
    a.injectors = {2, 1, 0, 0, 0, 0};
    a.additives[0] = {A::kMetered, true, 0x05};
    a.additives[1] = {A::kFerrix, false, 0x02};
    a.additives[2] = {A::kPistonFeedback, true, 0};
    a.pulseOutputs[0] = {1, 3, 3, 12.5f, 2000};
    a.pulseOutputs[1] = {2, 0, 1, 0.25f, 100};
    a.shared.securitySwitch = a.shared.remoteStopAll = a.shared.alarm = true;
    a.shared.systemPermissive[2] = true;
    a.shared.generalInputs = 2;
    a.shared.generalOutputs = 1;
    return w;
}

TEST(WizardDumpSim, TheDeviceTakesEveryValueTheWizardWrote) {
    SimRig device({Transport::Tcp, {"--addresses", "1,7"}});
    ASSERT_TRUE(device.Ready()) << device.Error();
    RecordingUi ui;
    ComPortTable ports;
    CVexa3Doc doc(ports, BuiltDictionary());
    const WizardModel wizard = RichLayout();
    std::string refusal;
    ASSERT_TRUE(wizard.CheckIoLimits(&refusal)) << refusal;
    ASSERT_TRUE(wizard.ApplyToDocument(doc).empty());
    std::vector<std::string> warnings;
    ASSERT_TRUE(doc.ApplyConfiguration(&warnings));
    EXPECT_TRUE(warnings.empty());
    ASSERT_EQ(doc.ActiveArmCount(), 2);

    // What the wizard wrote, as the commands that must carry it: "PC CF 002" at address 1,
    // "PC M2 201" (arm 2's first meter) at arm 2's address.
    std::set<std::pair<int, std::string>> expected;
    const char* const kMnemonics[] = {"CF", "SY"};
    for (int type : {CDirectory::kConfig, CDirectory::kSystem, CDirectory::kMeter}) {
        const CDirectory* d = doc.FindDirectory(type);
        for (int s = 0; s < d->SubdirectoryCount(); ++s) {
            d->Subdirectory(s)->ForEachParam([&](const CParam& p) {
                for (int v = 0; v < p.ValueCount(); ++v) {
                    if (p.Value(v).empty()) continue;
                    char command[16];
                    if (type == CDirectory::kMeter)
                        std::snprintf(command, sizeof command, "PC M%d %03d", v % 6 + 1, static_cast<int>(p.number));
                    else
                        std::snprintf(command, sizeof command, "PC %s %03d", kMnemonics[type], static_cast<int>(p.number));
                    expected.insert({type == CDirectory::kMeter ? doc.ArmAddress(v / 6) : doc.BaseAddress(), command});
                }
            });
        }
    }
    ASSERT_GT(expected.size(), 100u);

    device.Attach(doc, Framing::Terminal);
    ASSERT_EQ(doc.Connect(false), CVexa3Doc::kStateOnline);
    ASSERT_TRUE(doc.WriteAllToDevice(nullptr));
    EXPECT_TRUE(ui.errorLog.Lines().empty()) << ui.errorLog.Lines().front();
    EXPECT_TRUE(ui.prompt.shown.empty()) << ui.LastMessage();

    std::map<std::pair<int, std::string>, std::string> answered;
    for (const Exchange& e : device.Exchanges())
        if (e.command.starts_with("PC ") && e.command.size() >= 9) answered[{e.address, e.command.substr(0, 9)}] = e.reply;
    for (const auto& key : expected) {
        SCOPED_TRACE(key.second + " at " + std::to_string(key.first));
        ASSERT_TRUE(answered.count(key));
        EXPECT_EQ(answered.at(key).find("NO"), std::string::npos) << answered.at(key);
    }
}

}  // namespace
}  // namespace qs::test
