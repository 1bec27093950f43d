// Which pages of the wizard a user sees for a layout, and what the arm-type pages offer.
#include <gtest/gtest.h>

#include <functional>

#include "WizardFixture.h"

namespace qs::test {
namespace {

using A = WizardAnswers;

TEST(WizardPageList, HoldsEveryPageInOrder) {
    WizardModel w = NewWizard();
    WizardPageList list(w);
    ASSERT_EQ(list.Count(), 1 + 6 + 6 + 21 + 24 + 3);
    EXPECT_EQ(list.At(7).kind, WizardPage::kArmDetail);
    EXPECT_EQ(list.At(14).kind, WizardPage::kArmDetail) << "arm 1 has six meter pages";
    EXPECT_EQ(list.At(14).arm, 1);
    EXPECT_EQ(list.At(33).kind, WizardPage::kMeterRun) << "arm 6 has one";
    EXPECT_EQ(list.At(33).arm, 5);
    EXPECT_EQ(list.At(34).additive, 0);
    EXPECT_EQ(list.At(list.Count() - 1).kind, WizardPage::kConfirm);
}

TEST(WizardPageList, PagesShownForLayouts) {
    struct Row {
        const char* name;
        std::function<void(WizardModel&)> setup;
        const char* walk;
    } rows[] = {
        {"new wizard", [](WizardModel&) {}, "H T1 P O C"},
        {"one straight arm", [](WizardModel& w) { w.SetArmType(0, A::kStraight); }, "H T1 T2 D1 M1.1 P O C"},
        {"two arms without second display or BSE",
         [](WizardModel& w) {
             w.answers.secondDisplay = w.answers.bseBoard = false;
             w.SetArmType(0, A::kStraight);
             w.SetArmType(1, A::kSideStream);
             w.answers.injectors[0] = 2;
         },
         "H T1 T2 D1 M1.1 D2 M2.1 M2.2 A1 A2 P O C"},
        {"three arms of a six-arm rack",
         [](WizardModel& w) {
             w.SetArmType(0, 9);
             w.SetArmType(1, A::kStraight);
             w.SetArmType(2, 2);
             w.answers.injectors[2] = 1;
             w.answers.injectors[3] = 4;  // arm 4 not used
         },
         "H T1 T2 T3 T4 D1 M1.1 M1.2 M1.3 D2 M2.1 D3 M3.1 A1 P O C"},
        {"every meter on one arm", [](WizardModel& w) { w.SetArmType(0, 12); },
         "H T1 D1 M1.1 M1.2 M1.3 M1.4 M1.5 M1.6 P O C"},
        {"stale types past the second arm",
         [](WizardModel& w) {
             for (int a = 0; a < 4; ++a) w.SetArmType(a, A::kStraight);
             w.answers.secondDisplay = false;
         },
         "H T1 T2 D1 M1.1 D2 M2.1 P O C"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WizardModel w = NewWizard();
        row.setup(w);
        WizardPageList list(w);
        EXPECT_EQ(WalkText(list), row.walk);
    }
}

TEST(WizardPageList, BackGoesToThePageShownBefore) {
    WizardModel w = NewWizard();
    w.SetArmType(0, A::kSideStream);
    WizardPageList list(w);
    const std::vector<int> walk = list.Walk();
    for (size_t i = 1; i < walk.size(); ++i) EXPECT_EQ(list.Previous(walk[i]), walk[i - 1]) << i;
    EXPECT_EQ(list.Previous(0), -1);
    EXPECT_EQ(list.Next(list.Count() - 1), -1);
}

TEST(WizardPageList, OfferedArmTypesFollowTheMetersLeft) {
    struct Row {
        const char* name;
        std::function<void(WizardModel&)> setup;
        int arm, offered;
    } rows[] = {
        {"with BSE", [](WizardModel&) {}, 0, 13},
        {"without BSE up to 3-product ratio", [](WizardModel& w) { w.answers.bseBoard = false; }, 0, 10},
        {"one meter left: no side-stream",
         [](WizardModel& w) {
             w.answers.bseBoard = false;
             w.SetArmType(0, 8);
         },
         1, 7},
        {"the arm's own meters count as left", [](WizardModel& w) { w.SetArmType(0, 12); }, 0, 13},
        {"two meters left", [](WizardModel& w) { w.SetArmType(0, 9); w.SetArmType(1, A::kStraight); }, 2, 9},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WizardModel w = NewWizard();
        row.setup(w);
        EXPECT_EQ(WizardPageList(w).OfferedArmTypes(row.arm), row.offered);
    }
}

TEST(WizardPageList, NextWaitsForTheFirstArm) {
    WizardModel w = NewWizard();
    WizardPageList list(w);
    EXPECT_FALSE(list.NextEnabled(1));
    EXPECT_TRUE(list.NextEnabled(2)) << "a later arm may stay unused";
    EXPECT_TRUE(list.NextEnabled(0));
    w.SetArmType(0, A::kStraight);
    EXPECT_TRUE(list.NextEnabled(1));
}

}  // namespace
}  // namespace qs::test
