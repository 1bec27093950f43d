// What the wizard's pages show, mend when shown again, and refuse going forward.
#include <gtest/gtest.h>

#include <functional>

#include "WizardFixture.h"
#include "appmodel/wizard/WizardPageRules.h"
#include "appmodel/wizard/WizardTexts.h"

namespace qs::test {
namespace {

using A = WizardAnswers;
using R = WizardPageRules;

struct Rules {
    WizardModel w = NewWizard();
    WizardPageList list{w};
    WizardPageRules rules{w, list};
};

TEST(WizardPageTexts, CaptionsAndCounts) {
    Rules r;
    r.w.SetArmType(0, A::kStraight);
    r.w.SetArmType(1, 8);
    r.w.answers.injectors = {2, 1, 0, 0, 0, 0};
    EXPECT_EQ(r.rules.ArmTypeCaption(1), "Arm 2 Type:");
    EXPECT_EQ(r.rules.ArmDetailCaption(1), "Arm #2 Configuration Detail");
    EXPECT_EQ(r.rules.MeterRunCaption(0, 0), "Arm #1 Meter Detail");
    EXPECT_EQ(r.rules.MeterRunCaption(1, 1), "Arm #2 Meter 2 Detail");
    EXPECT_EQ(r.rules.AdditiveCaption(2), "Additive 3 - Arm #2");
    EXPECT_EQ(r.rules.RemainingText(), "21 of 24 Remaining");
    EXPECT_EQ(r.rules.InjectorLimit(1), 22);
    EXPECT_EQ(r.rules.InjectorLimit(2), 21) << "an arm not in use has none of its own";
    EXPECT_EQ(r.rules.PulseArmTexts(), (std::vector<std::string>{"Not Used", "Arm 1", "Arm 2"}));
    EXPECT_EQ(r.rules.PulseMeterTexts(1), (std::vector<std::string>{"Arm Total Pulses"}));
    EXPECT_EQ(r.rules.PulseMeterTexts(2),
              (std::vector<std::string>{"Arm Total Pulses", "Meter 1 Pulses", "Meter 2 Pulses"}));
    EXPECT_EQ(r.rules.MeterBoxesEnabled(0), 0) << "owned by a straight arm";
    EXPECT_EQ(r.rules.MeterBoxesEnabled(2), 2);
    const auto lines = r.rules.ConfirmArmLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Arm 1: Straight Product Arm");
    EXPECT_EQ(lines[1], "Arm 2: 2-Product Ratio Blending Arm");
    EXPECT_EQ(lines[5], "Arm 6: Arm Not Used");
    EXPECT_EQ(WizardTexts::ArmTypeTexts(13)[4], "4-Product Sequential Blending Arm");
    EXPECT_EQ(WizardTexts::ArmTypeTexts(13)[7], "Side-Stream Blending Arm");
    EXPECT_EQ(WizardTexts::ArmTypeTexts(13)[12], "6-Product Ratio Blending Arm");
    EXPECT_EQ(WizardTexts::InjectorTypeTexts(r.w.OfferedInjectorTypes()).back(), "Metered Injector");
}

TEST(WizardPageRules, ShareListsHoldEarlierMetersWithTheirOwnTransducer) {
    Rules r;
    r.w.SetArmType(0, 9);
    r.w.SetArmType(1, A::kStraight);
    r.w.answers.meters[0][0] = {A::kValveDigital, A::kCurrent, A::kRtdOrFrequency, A::kPressureShared};
    r.w.answers.meters[0][1] = {A::kValveDigital, A::kVoltage, A::kShared, A::kVoltage};
    for (auto kind : {R::kTemperature, R::kDensity, R::kPressure})
        EXPECT_TRUE(r.rules.ShareCandidates(kind, 0, 0).empty()) << "nothing before the first meter";
    auto texts = [](const std::vector<R::ShareItem>& items) {
        std::string s;
        for (const auto& i : items) s += i.text + "=" + std::to_string(i.data) + " ";
        return s;
    };
    EXPECT_EQ(texts(r.rules.ShareCandidates(R::kTemperature, 0, 2)), "Arm1 Mtr1=1 Arm1 Mtr2=2 ");
    EXPECT_EQ(texts(r.rules.ShareCandidates(R::kDensity, 1, 0)), "Arm1 Mtr1=1 ") << "a frequency density shares";
    EXPECT_EQ(texts(r.rules.ShareCandidates(R::kPressure, 1, 0)), "Arm1 Mtr2=2 ");
    r.w.answers.meters[1][0].temperature = A::kRtdOrFrequency;
    r.w.SetArmType(2, A::kStraight);
    EXPECT_EQ(texts(r.rules.ShareCandidates(R::kTemperature, 2, 0)), "Arm1 Mtr1=1 Arm1 Mtr2=2 Arm2 Mtr1=7 ");

    const auto items = r.rules.ShareCandidates(R::kTemperature, 0, 2);
    EXPECT_EQ(R::ShareRow(items, 1), 0);
    EXPECT_EQ(R::ShareRow(items, 0), 1) << "none stored: the last";
    EXPECT_EQ(R::ShareRow({}, 0), -1);
}

TEST(WizardPageRules, FrequencyDensityWhilePulseInputsAreLeft) {
    Rules r;
    r.w.answers.bseBoard = false;
    r.w.SetArmType(0, 9);
    r.w.answers.dualPulse = true;  // six pulse inputs for three meters
    EXPECT_FALSE(r.rules.FrequencyEnabled(0, 1));
    r.w.answers.meters[0][0].density = A::kRtdOrFrequency;
    EXPECT_TRUE(r.rules.FrequencyEnabled(0, 0)) << "kept by the meter that has it";
    r.w.answers.dualPulse = false;
    EXPECT_TRUE(r.rules.FrequencyEnabled(0, 1));
}

// Answers the pages' lists no longer offer, mended when the page shows again.
TEST(WizardStaleAnswers, MendedWhenThePageShows) {
    {
        SCOPED_TRACE("an arm type no longer offered becomes not used, and the later arms too");
        Rules r;
        r.w.SetArmType(0, 12);
        r.w.answers.armType[1] = A::kStraight;  // left from an earlier layout
        r.w.answers.bseBoard = false;
        r.rules.PrepareArmType(0);
        EXPECT_EQ(r.w.answers.armType[0], 0);
        EXPECT_EQ(r.w.answers.armType[1], 0);
        r.w.SetArmType(0, 9);
        r.rules.PrepareArmType(0);
        EXPECT_EQ(r.w.answers.armType[0], 9) << "still offered";
    }
    {
        SCOPED_TRACE("the pulse outputs keep their meter while the list has it");
        Rules r;
        r.w.SetArmType(0, A::kSideStream);
        r.w.answers.pulseOutputs[0] = {1, 2, 3};
        r.w.answers.pulseOutputs[1] = {2, 1, 1};
        r.rules.PreparePulseOutputs();
        EXPECT_EQ(r.w.answers.pulseOutputs[0].meter, 2);
        EXPECT_EQ(r.w.answers.pulseOutputs[0].source, 3);
        EXPECT_EQ(r.w.answers.pulseOutputs[1].arm, 0) << "arm 2 is not in use";
        EXPECT_EQ(r.w.answers.pulseOutputs[1].meter, 0);
        r.w.SetArmType(0, A::kStraight);
        r.rules.PreparePulseOutputs();
        EXPECT_EQ(r.w.answers.pulseOutputs[0].arm, 1);
        EXPECT_EQ(r.w.answers.pulseOutputs[0].meter, 0);
    }
    {
        SCOPED_TRACE("a Ferrix injector without an AICB board");
        Rules r;
        r.w.SetArmType(0, A::kStraight);
        r.w.answers.injectors[0] = 2;
        r.w.answers.aicbBoards = 1;
        r.w.answers.additives[0].type = A::kFerrix;
        r.w.answers.additives[1].type = A::kMetered;
        r.rules.PrepareAdditive(0);
        EXPECT_EQ(r.w.answers.additives[0].type, A::kFerrix);
        r.w.answers.aicbBoards = 0;
        EXPECT_EQ(r.w.CountFerrixInjectors(), 0) << "not counted before the page shows again";
        r.rules.PrepareAdditive(0);
        r.rules.PrepareAdditive(1);
        EXPECT_EQ(r.w.answers.additives[0].type, 0);
        EXPECT_EQ(r.w.answers.additives[1].type, A::kMetered);
    }
    {
        SCOPED_TRACE("a share whose source is gone");
        Rules r;
        r.w.SetArmType(0, 9);
        r.w.answers.meters[0][0].temperature = A::kCurrent;
        r.w.answers.meters[0][1].temperature = A::kCurrent;
        r.w.answers.meters[0][2] = {A::kValveDigital, A::kShared, A::kShared, A::kPressureShared, 1, 1, 2};
        r.w.answers.meters[0][1].temperature = A::kNone;  // no longer a source
        r.w.answers.meters[0][2].temperatureShare = 2;
        r.rules.PrepareMeterRun(0, 2);
        const A::MeterRun& run = r.w.answers.meters[0][2];
        EXPECT_EQ(run.temperature, A::kShared);
        EXPECT_EQ(run.temperatureShare, 1) << "the last one listed";
        EXPECT_EQ(run.density, A::kNone) << "nothing to share";
        EXPECT_EQ(run.pressure, A::kNone);
    }
    {
        SCOPED_TRACE("block valves start ticked on a sequential arm only");
        Rules r;
        r.w.SetArmType(0, A::kStraight);
        r.rules.PrepareArmDetail(0);
        EXPECT_EQ(r.w.answers.blockValveOutputs[0], -1);
        r.w.SetArmType(0, 4);
        r.rules.PrepareArmDetail(0);
        EXPECT_EQ(r.w.answers.blockValveOutputs[0], 1);
        r.w.answers.blockValveOutputs[0] = 0;
        r.rules.PrepareArmDetail(0);
        EXPECT_EQ(r.w.answers.blockValveOutputs[0], 0) << "an answer given stays";
    }
}

TEST(WizardPageRules, RefusalsGoingForward) {
    auto additive = [](int k) { return WizardPage{WizardPage::kAdditive, -1, -1, k}; };
    const WizardPage meterRun{WizardPage::kMeterRun, 0, 0};
    const WizardPage otherIo{WizardPage::kOtherIo};
    const WizardPage detail{WizardPage::kArmDetail, 0};
    // Arm 1 straight: its valve solenoids and pump take three outputs.
    const char* const io = "Configured outputs (39) exceed limit (38). Reduce selected outputs.";
    struct Row {
        const char* name;
        std::function<void(WizardModel&)> setup;
        WizardPage page;
        std::string refusal;
    } rows[] = {
        {"fourth metered injector",
         [](WizardModel& w) { w.answers.injectors[0] = 4; for (int k = 0; k < 4; ++k) w.answers.additives[static_cast<size_t>(k)].type = A::kMetered; },
         additive(3), ""},
        {"fifth metered injector",
         [](WizardModel& w) { w.answers.injectors[0] = 5; for (int k = 0; k < 5; ++k) w.answers.additives[static_cast<size_t>(k)].type = A::kMetered; },
         additive(4), R::kMeteredUsedMessage},
        {"metered injector without a pulse input",
         [](WizardModel& w) { w.answers.bseBoard = false; w.SetArmType(0, 9); w.answers.dualPulse = true; w.answers.injectors[0] = 1; w.answers.additives[0].type = A::kMetered; },
         additive(0), R::kMeteredPulseMessage},
        {"eleventh Ferrix on one board",
         [](WizardModel& w) { w.answers.aicbBoards = 1; w.answers.injectors[0] = 11; for (int k = 0; k < 11; ++k) w.answers.additives[static_cast<size_t>(k)].type = A::kFerrix; },
         additive(10), R::kFerrixUsedMessage},
        {"additive past the outputs",
         [](WizardModel& w) { w.answers.injectors[0] = 1; w.answers.shared.generalOutputs = 35; w.answers.additives[0].type = A::kPiston; },
         additive(0), io},
        {"seven analog channels on a meter page",
         [](WizardModel& w) { w.SetArmType(0, 12); for (auto& run : w.answers.meters[0]) run.valve = A::kValveAnalog; w.answers.meters[0][5].pressure = A::kCurrent; w.answers.productPump[0] = false; },
         meterRun, R::kAnalogRequestedMessage},
        {"six analog channels", [](WizardModel& w) { w.answers.shared.analogOutputs = 6; }, meterRun, ""},
        {"seven analog channels on the other I/O page", [](WizardModel& w) { w.answers.shared.analogOutputs = 7; },
         otherIo, R::kAnalogConfiguredMessage},
        {"other I/O past the outputs", [](WizardModel& w) { w.answers.shared.generalOutputs = 35; w.answers.shared.alarm = true; },
         otherIo, io},
        {"arm detail past the outputs", [](WizardModel& w) { w.answers.shared.generalOutputs = 35; w.answers.shared.alarm2 = true; },
         detail, io},
        {"meter page does not check digital I/O", [](WizardModel& w) { w.answers.shared.generalOutputs = 39; },
         meterRun, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Rules r;
        r.w.SetArmType(0, A::kStraight);
        row.setup(r.w);
        EXPECT_EQ(r.rules.RefusalOnNext(row.page), row.refusal);
    }
}

TEST(WizardPageRules, UnassignedFunctionsAreListed) {
    EXPECT_EQ(R::UnassignedText({}), "");
    EXPECT_EQ(R::UnassignedText({"Digital output: Alarm Output", "Digital input: Remote Start, arm 2"}),
              std::string(R::kUnassignedMessage) + "\nDigital output: Alarm Output\nDigital input: Remote Start, arm 2");
}

}  // namespace
}  // namespace qs::test
