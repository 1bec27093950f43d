// The wizard's I/O resources, limit check and point numbering, read from the answers.
#include <gtest/gtest.h>

#include <functional>

#include "WizardFixture.h"

namespace qs::test {
namespace {

using A = WizardAnswers;
using Arrange = std::function<void(WizardModel&)>;

void OneArmWithFerrix(WizardModel& w, int injectors, int ferrix) {
    w.SetArmType(0, A::kStraight);
    w.answers.injectors[0] = injectors;
    w.answers.aicbBoards = 1;
    for (int k = 0; k < ferrix; ++k) w.answers.additives[static_cast<size_t>(k)].type = A::kFerrix;
}

TEST(WizardResources, AvailableInputsAndOutputsFollowTheBoards) {
    struct Row {
        const char* name;
        Arrange setup;
        int inputs, outputs;
    } rows[] = {
        {"defaults", [](WizardModel&) {}, 23, 38},
        {"without BSE", [](WizardModel& w) { w.answers.bseBoard = false; }, 11, 14},
        {"one AICB, three Ferrix", [](WizardModel& w) { OneArmWithFerrix(w, 3, 3); }, 30, 52},
        {"Ferrix past the injectors in use", [](WizardModel& w) { OneArmWithFerrix(w, 2, 3); }, 31, 54},
        {"Ferrix without AICB", [](WizardModel& w) { OneArmWithFerrix(w, 3, 3); w.answers.aicbBoards = 0; }, 23, 38},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WizardModel w = NewWizard();
        row.setup(w);
        EXPECT_EQ(w.InputsAvailable(), row.inputs);
        EXPECT_EQ(w.OutputsAvailable(), row.outputs);
    }
}

// Two arms, three additives and the shared I/O, with answers the counts must pass over: a
// fourth additive past the injectors, block valves on a ratio arm, a Ferrix pump, and a third
// arm that only a second display would bring in.
WizardModel MixedLayout() {
    WizardModel w = NewWizard();
    A& a = w.answers;
    w.SetArmType(0, 3);  // 3-product sequential
    a.blockValveOutputs[0] = 1;
    a.blockValveFeedback[0] = true;
    a.armInputs[0].remoteStart = a.armInputs[0].permissive = true;
    a.meters[0][0].density = A::kRtdOrFrequency;
    w.SetArmType(1, 8);  // 2-product ratio
    a.blockValveOutputs[1] = 1;
    a.blockValveFeedback[1] = true;
    a.meters[1][0] = {A::kValveAnalog, A::kRtdOrFrequency};
    a.meters[1][1] = {A::kValveTwoStage, A::kNone, A::kVoltage, A::kVoltage};
    a.meters[1][2] = {A::kValveAnalog, A::kCurrent};  // past the arm's two meters
    w.SetArmType(2, A::kStraight);
    a.armInputs[2].remoteStop = true;
    a.secondDisplay = false;
    a.injectors = {2, 1, 0, 0, 0, 0};
    a.aicbBoards = 1;
    a.additives[0] = {A::kPistonFeedback, true};
    a.additives[1] = {A::kMetered, true};
    a.additives[2] = {A::kFerrix, true};
    a.additives[3] = {A::kPiston, true};
    a.dualPulse = a.transmitterSecurity = true;
    a.shared.alarm = a.shared.securitySwitch = true;
    a.shared.generalInputs = 2;
    a.shared.generalOutputs = 1;
    a.shared.analogOutputs = 1;
    return w;
}

TEST(WizardResources, UsedCountsTakeOnlyWhatIsInUse) {
    WizardModel w = MixedLayout();
    EXPECT_EQ(w.ArmsInUse(), 2);
    EXPECT_EQ(w.TotalMeters(), 3);
    EXPECT_EQ(w.TotalInjectors(), 3);
    EXPECT_EQ(w.CountMeteredInjectors(), 1);
    EXPECT_EQ(w.CountFerrixInjectors(), 1);
    // feedback of 3 products, 2 arm inputs, a piston with feedback, security switch, 2 general
    EXPECT_EQ(w.CountInputsUsed(), 3 + 2 + 1 + 1 + 2);
    // arm 1: valve 2, block valves 3, pump 1; arm 2: two-stage 2, pumps 2; additives 2 + 2;
    // alarm, general output
    EXPECT_EQ(w.CountOutputsUsed(), 6 + 4 + 4 + 2);
    // three meters with A, B and security, one density frequency, one metered injector
    EXPECT_EQ(w.CountPulseInputsUsed(), 9 + 1 + 1);
    // analog valve, RTD, 1-5V density and pressure, one shared output
    EXPECT_EQ(w.CountAnalogChannels(), 5);
    EXPECT_EQ(w.InputsUsedText(), "9 of 32 Digital Inputs Used");
    EXPECT_EQ(w.OutputsUsedText(), "16 of 56 Digital Outputs Used");

    // The security box goes off with a fourth meter without BSE; its answer stays.
    w.answers.bseBoard = false;
    EXPECT_FALSE(w.SecurityInEffect());
    EXPECT_TRUE(w.answers.transmitterSecurity);
    EXPECT_EQ(w.CountPulseInputsUsed(), 6 + 1 + 1);
}

TEST(WizardResources, ArmSetToNotUsedTakesTheLaterArmsWithIt) {
    WizardModel w = NewWizard();
    for (int arm = 0; arm < 4; ++arm) w.SetArmType(arm, A::kStraight);
    w.SetArmType(1, A::kArmNotUsed);
    EXPECT_EQ(w.answers.armType, (std::array<int, 6>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(w.ArmsInUse(), 1);
    EXPECT_EQ(w.answers.armAddress, (std::array<int, 6>{1, 2, 3, 4, 5, 6})) << "addresses are kept";
}

TEST(WizardLimits, RefusalsNameTheCounts) {
    struct Row {
        const char* name;
        bool bse;
        int inputs, outputs;
        const char* refusal;
    } rows[] = {
        {"54 together", true, 20, 34,
         "Combined inputs and outputs (54)exceed maximum (53). Reduce digital inputs or digital outputs."},
        {"53 together", true, 20, 33, ""},
        {"inputs", true, 24, 0, "Configured inputs (24) exceed limit (23). Reduce selected inputs."},
        {"outputs", true, 0, 39, "Configured outputs (39) exceed limit (38). Reduce selected outputs."},
        {"inputs before outputs", true, 24, 39, "Configured inputs (24) exceed limit (23). Reduce selected inputs."},
        {"no combined limit without BSE", false, 11, 14, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WizardModel w = NewWizard();
        w.answers.bseBoard = row.bse;
        w.answers.shared.generalInputs = row.inputs;
        w.answers.shared.generalOutputs = row.outputs;
        std::string refusal;
        EXPECT_EQ(w.CheckIoLimits(&refusal), *row.refusal == '\0');
        EXPECT_EQ(refusal, row.refusal);
    }
}

TEST(WizardPoints, NextInputPoint) {
    struct Row {
        const char* name;
        Arrange setup;
        int from, point;
    } rows[] = {
        {"main board", [](WizardModel&) {}, 6, 7},
        {"from 5 with BSE", [](WizardModel&) {}, 5, 15},
        {"past outputs that spill", [](WizardModel& w) { w.answers.shared.generalOutputs = 33; }, 5, 18},
        {"11 with BSE", [](WizardModel&) {}, 10, 11},
        {"15 goes on to 23", [](WizardModel& w) { w.answers.aicbBoards = 1; }, 14, 23},
        {"none left after 10 without BSE or AICB", [](WizardModel& w) { w.answers.bseBoard = false; }, 10, 0},
        {"none left after 14 without AICB", [](WizardModel&) {}, 14, 0},
        {"past the Ferrix inputs", [](WizardModel& w) { OneArmWithFerrix(w, 3, 3); }, 22, 26},
        {"without BSE past the Ferrix inputs", [](WizardModel& w) { OneArmWithFerrix(w, 3, 3); w.answers.bseBoard = false; }, 10, 26},
        {"end of the AICB board", [](WizardModel& w) { w.answers.aicbBoards = 1; }, 32, 0},
        {"every AICB input a Ferrix", [](WizardModel& w) { OneArmWithFerrix(w, 10, 10); }, 22, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WizardModel w = NewWizard();
        row.setup(w);
        int point = row.from;
        EXPECT_EQ(w.NextIoPoint(point), row.point);
        EXPECT_EQ(point, row.point);
    }
}

TEST(WizardPoints, NextOutputPoint) {
    struct Row {
        const char* name;
        Arrange setup;
        int from, point;
    } rows[] = {
        {"main board", [](WizardModel&) {}, 3, 4},
        {"on to the BSE board", [](WizardModel&) {}, 13, 14},
        {"none left after the BSE board", [](WizardModel&) {}, 29, 0},
        {"none left without BSE", [](WizardModel& w) { w.answers.bseBoard = false; }, 13, 0},
        {"AICB past the Ferrix outputs", [](WizardModel& w) { OneArmWithFerrix(w, 3, 3); w.answers.bseBoard = false; }, 13, 44},
        {"AICB after the BSE board", [](WizardModel& w) { w.answers.aicbBoards = 1; }, 29, 38},
        {"end of the AICB board", [](WizardModel& w) { w.answers.aicbBoards = 1; }, 57, 0},
        {"second AICB board", [](WizardModel& w) { w.answers.aicbBoards = 2; }, 57, 58},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WizardModel w = NewWizard();
        row.setup(w);
        EXPECT_EQ(w.NextOutputPoint(row.from), row.point);
    }
}

}  // namespace
}  // namespace qs::test
