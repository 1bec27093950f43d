// What Finish writes into the new document: link settings and program codes, compared whole.
#include <gtest/gtest.h>

#include "WizardFixture.h"

namespace qs::test {
namespace {

using A = WizardAnswers;
using Values = std::map<std::string, std::string>;

// What every finished wizard writes besides its arms: the layout heads and both pulse outputs.
Values Common(int arms) {
    Values v = {
        {"CF 001", std::to_string(arms)},
        {"CF 020", "0"},
        {"CF 101", "0 No"},
        {"CF 102", "0 No"},
    };
    for (int o = 0; o < 2; ++o) {
        const int base = 201 + 5 * o;
        char key[5][8];
        for (int i = 0; i < 5; ++i) std::snprintf(key[i], sizeof key[i], "CF %03d", base + i);
        v[key[0]] = "0 Not Used";
        v[key[1]] = "0 Arm Total Pulses";
        v[key[2]] = "  1.000";
        v[key[3]] = "0 IV";
        v[key[4]] = "0";
    }
    return v;
}

TEST(WizardApply, StraightFirstArmWithDefaults) {
    NewDocument d;
    WizardModel w = NewWizard();
    w.SetArmType(0, A::kStraight);
    EXPECT_TRUE(w.ApplyToDocument(d.doc).empty());

    Values expected = Common(1);
    expected.insert({
        {"CF 002", "0 Straight Product"},
        {"CF 003", "1"},
        // valve solenoids at outputs 3 and 4, the product pump at 5
        {"CF 513", "2 Control Valve Upstream Solenoid"}, {"CF 514", "0"}, {"CF 515", "0"},
        {"CF 517", "3 Control Valve Downstream Solenoid"}, {"CF 518", "0"}, {"CF 519", "0"},
        {"CF 521", "1 Product Pump"}, {"CF 522", "0"}, {"CF 523", "0"},
        {"SY 701", "1"},
        {"M 201", "0 Digital (Brask 210)"},
    });
    EXPECT_EQ(ValuesOf(d.doc), expected);
    EXPECT_EQ(d.doc.ArmAddresses(), (std::array<int, 6>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(d.doc.PortIndex(), 1);
    EXPECT_EQ(d.doc.Ipv4(), 0xC0A80001u);
    EXPECT_EQ(d.doc.Host(), "192.168.0.1");
}

TEST(WizardApply, AnalogValveOnTheSecondArm) {
    NewDocument d;
    WizardModel w = NewWizard();
    w.SetArmType(0, A::kStraight);
    w.SetArmType(1, A::kStraight);
    w.answers.meters[1][0].valve = A::kValveAnalog;
    w.answers.armAddress[1] = 12;
    w.answers.portChoice = 0;
    w.answers.ipv4 = 0x0A000105;
    EXPECT_TRUE(w.ApplyToDocument(d.doc).empty());

    Values expected = Common(2);
    expected.insert({
        {"CF 002", "0 Straight Product"}, {"CF 003", "1"},
        {"CF 004", "0 Straight Product"}, {"CF 005", "1"},
        // the analog valve drives the last analog channel
        {"CF 951", "4 Control Valve Output"}, {"CF 952", "1"}, {"CF 953", "0"}, {"CF 955", "4 4-20mA Output"},
        // arm 1's valve solenoids, then both pumps
        {"CF 513", "2 Control Valve Upstream Solenoid"}, {"CF 514", "0"}, {"CF 515", "0"},
        {"CF 517", "3 Control Valve Downstream Solenoid"}, {"CF 518", "0"}, {"CF 519", "0"},
        {"CF 521", "1 Product Pump"}, {"CF 522", "0"}, {"CF 523", "0"},
        {"CF 525", "1 Product Pump"}, {"CF 526", "1"}, {"CF 527", "0"},
        {"SY 701", "1"}, {"SY 702", "12"},
        {"M 201", "0 Digital (Brask 210)"}, {"M 201[6]", "2 Analog"},
    });
    EXPECT_EQ(ValuesOf(d.doc), expected);
    EXPECT_EQ(d.doc.ArmAddresses(), (std::array<int, 6>{1, 12, 0, 0, 0, 0}));
    EXPECT_EQ(d.doc.PortIndex(), 0);
    EXPECT_EQ(d.doc.Host(), "10.0.1.5");
}

TEST(WizardApply, SideStreamArmIsWrittenAsTwoProductRatio) {
    NewDocument d;
    WizardModel w = NewWizard();
    w.SetArmType(0, A::kSideStream);
    w.answers.productPump[0] = false;
    w.answers.meters[0][1].valve = A::kValveTwoStage;
    w.ApplyToDocument(d.doc);
    const Values v = ValuesOf(d.doc);
    EXPECT_EQ(v.at("CF 002"), "3 Side-Stream Blending");
    EXPECT_EQ(v.at("CF 003"), "2");
    // two meters, each with its valve solenoids
    EXPECT_EQ(v.at("CF 521"), "2 Control Valve Upstream Solenoid");
    EXPECT_EQ(v.at("CF 523"), "1");
    EXPECT_EQ(v.at("CF 525"), "3 Control Valve Downstream Solenoid");
    EXPECT_EQ(v.at("CF 527"), "1");
    EXPECT_EQ(v.at("M 201[1]"), "1 Two Stage");
    EXPECT_FALSE(v.count("CF 529")) << "no pumps";
    // The document reads the layout back as one arm of two meters and two products.
    std::vector<std::string> warnings;
    ASSERT_TRUE(d.doc.ApplyConfiguration(&warnings));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(d.doc.Configuration().metersPerArm[0], 2);
    EXPECT_EQ(d.doc.Configuration().productsPerArm[0], 2);
}

TEST(WizardApply, AdditivesInputsAndSharedTransducers) {
    NewDocument d;
    WizardModel w = NewWizard();
    A& a = w.answers;
    w.SetArmType(0, 9);  // 3-product ratio
    a.productPump[0] = false;
    a.meters[0][0] = {A::kValveDigital, A::kRtdOrFrequency, A::kRtdOrFrequency};
    a.meters[0][1] = {A::kValveAnalog, A::kShared, A::kNone, A::kNone, 1};
    a.meters[0][2].valve = A::kValveAnalog;
    a.injectors[0] = 3;
    a.aicbBoards = 1;
    a.additives[0] = {A::kFerrix, true, 0x3F};
    a.additives[1] = {A::kPistonFeedback, true, 0x7F};
    a.additives[2] = {A::kMetered, false, 0x04};
    a.armInputs[0].remoteStart = true;
    a.shared.systemPermissive[1] = true;
    a.shared.analogOutputs = 1;
    EXPECT_TRUE(w.ApplyToDocument(d.doc).empty());
    const Values v = ValuesOf(d.doc);
    const Values expected = {
        {"CF 020", "3"},
        // meter 1's density frequency on pulse input 3, the metered injector on input 4
        {"CF 103", "1 Density Frequency"}, {"CF 104", "0"}, {"CF 105", "0"},
        {"CF 107", "2 Metered Injector 1"}, {"CF 108", "0"},
        // RTD of meter 1; meter 2 shares it
        {"CF 901", "1 Temperature Input"}, {"CF 902", "0"}, {"CF 903", "0"}, {"CF 905", "3 RTD Input"},
        {"M 402[1]", "1"},
        // analog outputs from the top: the shared one, then the valves of meters 2 and 3
        {"CF 951", "6 General Purpose Output"}, {"CF 952", "0"}, {"CF 953", "0"}, {"CF 955", "4 4-20mA Output"},
        {"CF 941", "4 Control Valve Output"}, {"CF 942", "0"}, {"CF 943", "1"},
        {"CF 931", "4 Control Valve Output"}, {"CF 933", "2"},
        // meter 1's solenoids at 3 and 4; the metered injector's at 5; the piston's at 6 and
        // its pump at 7
        {"CF 521", "57 Metered Injector 1 Solenoid"}, {"CF 522", "0"},
        {"CF 525", "34 Additive 2 Solenoid"},
        {"CF 529", "10 Additive 2 Pump"},
        // the piston's feedback on input 6, then the arm's remote start and the permissive
        {"CF 325", "14 Additive 2 Feedback"},
        {"CF 329", "6 Remote Start"}, {"CF 330", "0"},
        {"CF 333", "38 System Permissive 2"},
        // additive records: metered, piston, then the Ferrix from record 5; masks within the
        // arm's three meters
        {"SY 810", "7 Metered Injector"}, {"SY 811", "0"}, {"SY 812", "4"},
        {"SY 813", "2 Piston w/ Feedback"}, {"SY 815", "7"},
        {"SY 822", "8 Ferrix"}, {"SY 823", "0"}, {"SY 824", "7"},
    };
    for (const auto& [key, value] : expected) EXPECT_EQ(v.count(key) ? v.at(key) : "(none)", value) << key;
    EXPECT_FALSE(v.count("SY 816")) << "records 3 and 4 stay free";
    EXPECT_FALSE(v.count("CF 334")) << "no arm for a system permissive";
}

TEST(WizardApply, PointsRunningOutAreNamedNotWritten) {
    NewDocument d;
    WizardModel w = NewWizard();
    A& a = w.answers;
    a.bseBoard = false;
    w.SetArmType(0, 9);  // three meters: 6 solenoids and 3 pumps, outputs 3-11
    a.shared.alarm = a.shared.alarm2 = true;  // 12, 13
    a.shared.generalOutputs = 1;             // none left: outputs 14-37 are the BSE board's
    a.shared.generalInputs = 6;              // inputs 6-10, then none
    std::string refusal;
    ASSERT_TRUE(w.CheckIoLimits(&refusal)) << refusal;
    EXPECT_EQ(w.ApplyToDocument(d.doc),
              (std::vector<std::string>{"Digital output: General Purpose Output", "Digital input: General Purpose Input"}));
    const Values v = ValuesOf(d.doc);
    EXPECT_EQ(v.at("CF 553"), "5 2nd Alarm Output");
    EXPECT_EQ(v.at("CF 341"), "10 General Purpose Input");
    EXPECT_FALSE(v.count("CF 501")) << "point 0 is never written";
    EXPECT_FALSE(v.count("CF 301")) << "point 0 is never written";
}

TEST(WizardApply, AnswersOutOfUseAreNotWritten) {
    NewDocument d;
    WizardModel w = NewWizard();
    A& a = w.answers;
    a.secondDisplay = false;
    for (int arm = 0; arm < 3; ++arm) w.SetArmType(arm, A::kStraight);  // arm 3 only with a 2nd display
    a.meters[2][0].density = A::kRtdOrFrequency;
    a.meters[0][1].density = A::kRtdOrFrequency;  // a straight arm has one meter
    a.blockValveOutputs[0] = 1;                   // block valves only on sequential arms
    a.blockValveFeedback[0] = true;
    a.productPump = {};
    a.pulseOutputs[0] = {3, 2, 4, 2.5f, 100};  // arm 3 and a meter a straight arm lacks
    a.pulseOutputs[1] = {2, 1, 1, 1.0f, 0};    // a meter a straight arm lacks
    a.dualPulse = true;
    a.transmitterSecurity = true;  // with 2 meters and BSE the box is on
    w.ApplyToDocument(d.doc);
    const Values v = ValuesOf(d.doc);
    EXPECT_EQ(v.at("CF 001"), "2");
    EXPECT_FALSE(v.count("SY 703"));
    EXPECT_EQ(d.doc.ArmAddresses(), (std::array<int, 6>{1, 2, 0, 0, 0, 0}));
    for (int code = 103; code <= 141; ++code) {
        char key[8];
        std::snprintf(key, sizeof key, "CF %03d", code);
        EXPECT_FALSE(v.count(key)) << key << " no density frequency input";
    }
    EXPECT_FALSE(v.count("CF 529")) << "four solenoids only, outputs 3-6";
    EXPECT_FALSE(v.count("CF 325")) << "no feedback inputs";
    EXPECT_EQ(v.at("CF 201"), "0 Not Used");
    EXPECT_EQ(v.at("CF 202"), "0 Arm Total Pulses");
    EXPECT_EQ(v.at("CF 203"), "  2.500");
    EXPECT_EQ(v.at("CF 204"), "4 Mass");
    EXPECT_EQ(v.at("CF 206"), "2 Arm 2");
    EXPECT_EQ(v.at("CF 207"), "0 Arm Total Pulses");
    EXPECT_EQ(v.at("CF 102"), "1 Yes");

    // A third meter without BSE turns the security box off: no longer written, though still
    // answered.
    NewDocument e;
    a.bseBoard = false;
    w.SetArmType(1, 8);
    w.ApplyToDocument(e.doc);
    EXPECT_EQ(ValuesOf(e.doc).at("CF 102"), "0 No");
}

}  // namespace
}  // namespace qs::test
