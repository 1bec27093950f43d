// The wizard's pages wired to its answers: what each page shows, stores when left either way,
// refuses going forward, and how Next and Back find the pages.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/stattext.h>

#include "RecordingUi.h"
#include "WizardDriving.h"
#include "app/tools/wizard/CDX3AdditiveDlg.h"
#include "app/tools/wizard/CDX3ArmCfgDlg.h"
#include "app/tools/wizard/CDX3ArmDetailDlg.h"
#include "app/tools/wizard/CDX3BoxCfgDlg.h"
#include "app/tools/wizard/CDX3ConfirmDlg.h"
#include "app/tools/wizard/CDX3MeterRunDlg.h"
#include "app/tools/wizard/CDX3MiscDlg.h"
#include "app/tools/wizard/CDX3PulseOutDlg.h"
#include "appmodel/programdata/DocumentOptionsModel.h"
#include "link/ComPortTable.h"
#include "programdata/CVexa3Doc.h"

namespace qs::test {
namespace {

using A = WizardAnswers;
using R = WizardPageRules;

// Places of pages in the list of a six-arm document.
constexpr int kHardware = 0, kArm1 = 1, kDetail1 = 7, kMeter11 = 8, kMeter12 = 9, kAdditive1 = 34, kPulse = 58,
              kOtherIo = 59, kConfirm = 60;

// The sheet started as its modal run starts it, but without the modal loop.
class StartedSheet : public CDX3PropertySheet {
public:
    using CDX3PropertySheet::CDX3PropertySheet;
    void Start() {
        m_firstpage = PageAt(kHardware);
        ShowPage(m_firstpage);
        Show();
    }
};

class WizardSheet : public ::testing::Test {
protected:
    void SetUp() override {
        auto* started = new StartedSheet(nullptr, scratch, ui.services);
        started->Start();
        sheet = started;
    }
    void TearDown() override { sheet->Destroy(); }

    A& Answers() { return sheet->Model().answers; }
    // Arm 1 given a type on its page, and on to its detail page.
    void ToArm1(int type) {
        Next(*sheet);
        ASSERT_EQ(Shown(*sheet), kArm1);
        Pick(ShownPage<CDX3ArmCfgDlg>(*sheet)->TypeList(), type);
    }
    void NextTo(int index) {
        for (int guard = 0; guard < 70 && Shown(*sheet) != index && NextEnabled(*sheet); ++guard) Next(*sheet);
        ASSERT_EQ(Shown(*sheet), index);
    }

    RecordingUi ui;
    ComPortTable ports;
    CVexa3Doc scratch{ports, DefinitionSource{}};
    CDX3PropertySheet* sheet = nullptr;
};

TEST_F(WizardSheet, DefaultsWalkedToFinish) {
    EXPECT_EQ(sheet->GetTitle(), "New Duravane IIIX Wizard");
    EXPECT_FALSE(sheet->FindWindow(wxID_BACKWARD)->IsEnabled());
    Next(*sheet);
    EXPECT_EQ(sheet->GetTitle(), "New Duravane III.NET Wizard - Arm Type");
    auto* arm = ShownPage<CDX3ArmCfgDlg>(*sheet);
    EXPECT_EQ(Text(arm->TypeLabel()), "Arm 1 Type:");
    EXPECT_EQ(arm->TypeList()->GetCount(), 13u);
    EXPECT_EQ(arm->TypeList()->GetSelection(), 0);
    EXPECT_EQ(arm->AddressField()->GetValue(), "1");
    EXPECT_EQ(Text(arm->RemainingLabel()), "24 of 24 Remaining");
    EXPECT_FALSE(NextEnabled(*sheet)) << "no arm yet";
    Pick(arm->TypeList(), A::kStraight);
    EXPECT_EQ(Answers().armType[0], A::kStraight) << "stored when chosen";

    const std::pair<int, const char*> walk[] = {
        {kArm1 + 1, "New Duravane III.NET Wizard - Arm Type"}, {kDetail1, "New Duravane III Wizard - Arm Detail"},
        {kMeter11, "New Duravane III Wizard - Meter Run"},     {kPulse, "New Duravane III Wizard - Pulse Outputs"},
        {kOtherIo, "New Duravane III Wizard - Other I/O"},     {kConfirm, "New Duravane III Wizard Confirmation"},
    };
    for (const auto& [page, title] : walk) {
        Next(*sheet);
        EXPECT_EQ(Shown(*sheet), page);
        EXPECT_EQ(sheet->GetTitle(), title);
        EXPECT_TRUE(NextEnabled(*sheet)) << "the buttons are set again on each page";
    }
    auto* confirm = ShownPage<CDX3ConfirmDlg>(*sheet);
    EXPECT_EQ(Text(confirm->InputsLabel()), "0 of 23 Digital Inputs Used");
    EXPECT_EQ(Text(confirm->OutputsLabel()), "3 of 38 Digital Outputs Used");
    EXPECT_EQ(Text(confirm->ArmLabel(0)), "Arm 1: Straight Product Arm");
    EXPECT_EQ(Text(confirm->ArmLabel(5)), "Arm 6: Arm Not Used");
    EXPECT_EQ(sheet->FindWindow(wxID_FORWARD)->GetLabel(), "&Finish");
    Next(*sheet);
    EXPECT_EQ(Shown(*sheet), -1);
    EXPECT_EQ(sheet->GetReturnCode(), wxID_OK);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(WizardSheet, LeavingStoresBothWaysAndOnlyForwardIsRefused) {
    ToArm1(A::kStraight);
    auto* arm = ShownPage<CDX3ArmCfgDlg>(*sheet);
    Type(arm->AddressField(), "7");
    Back(*sheet);
    EXPECT_EQ(Answers().armAddress[0], 7) << "stored going back";
    Next(*sheet);
    EXPECT_EQ(arm->AddressField()->GetValue(), "7");

    Type(arm->AddressField(), "100");
    Type(arm->InjectorsField(), "25");
    Next(*sheet);
    EXPECT_EQ(Shown(*sheet), kArm1);
    EXPECT_EQ(ui.LastMessage(), "Please enter an integer between 0 and 99.");
    Type(arm->AddressField(), "99");
    Next(*sheet);
    EXPECT_EQ(Shown(*sheet), kArm1);
    EXPECT_EQ(ui.LastMessage(), "Please enter an integer between 0 and 24.");
    const size_t said = ui.Messages().size();
    Back(*sheet);
    EXPECT_EQ(Shown(*sheet), kHardware) << "going back is never refused";
    EXPECT_EQ(ui.Messages().size(), said);
    EXPECT_EQ(Answers().armAddress[0], 99);
    EXPECT_EQ(Answers().injectors[0], 0) << "a refused count is not stored";

    // A page's rules refuse going forward too, and let the user go back.
    NextTo(kOtherIo);
    auto* other = ShownPage<CDX3MiscDlg>(*sheet);
    Type(other->GeneralOutputsField(), "36");
    Next(*sheet);
    EXPECT_EQ(Shown(*sheet), kOtherIo);
    EXPECT_EQ(ui.LastMessage(), "Configured outputs (39) exceed limit (38). Reduce selected outputs.");
    Back(*sheet);
    EXPECT_EQ(Shown(*sheet), kPulse);
    EXPECT_EQ(Answers().shared.generalOutputs, 36);
}

TEST_F(WizardSheet, HardwarePageEnablesTheIpAddressForTcpOnly) {
    auto* hardware = ShownPage<CDX3BoxCfgDlg>(*sheet);
    EXPECT_EQ(hardware->PortList()->GetStringSelection(), "Com 1");
    EXPECT_FALSE(hardware->IpField()->IsEnabled());
    EXPECT_EQ(hardware->IpField()->GetValue(), "192.168.0.1");
    Choose(hardware->PortList(), 0);
    EXPECT_TRUE(hardware->IpField()->IsEnabled());
    Type(hardware->IpField(), "10.0.0.300");
    Next(*sheet);
    EXPECT_EQ(Shown(*sheet), kHardware);
    EXPECT_EQ(ui.LastMessage(), DocumentOptionsModel::kBadIpMessage);
    Type(hardware->IpField(), "10.0.0.3");
    Tick(hardware->SecondAicbBox(), true);
    Tick(hardware->BseBox(), false);
    Next(*sheet);
    EXPECT_EQ(Answers().portChoice, 0);
    EXPECT_EQ(Answers().ipv4, 0x0A000003u);
    EXPECT_EQ(Answers().aicbBoards, 1) << "the boxes are counted";
    EXPECT_FALSE(Answers().bseBoard);
    EXPECT_EQ(ShownPage<CDX3ArmCfgDlg>(*sheet)->TypeList()->GetCount(), 10u) << "three meters without BSE";
}

TEST_F(WizardSheet, ListsAreFilledAgainWhenShownAgain) {
    auto* hardware = ShownPage<CDX3BoxCfgDlg>(*sheet);
    Tick(hardware->AicbBox(), true);
    ToArm1(A::kSideStream);
    Type(ShownPage<CDX3ArmCfgDlg>(*sheet)->InjectorsField(), "1");
    NextTo(kAdditive1);
    auto* additive = ShownPage<CDX3AdditiveDlg>(*sheet);
    EXPECT_EQ(Text(additive->CaptionLabel()), "Additive 1 - Arm #1");
    ASSERT_EQ(additive->TypeList()->GetCount(), 9u);
    Choose(additive->TypeList(), A::kFerrix);
    EXPECT_FALSE(additive->PumpBox()->IsEnabled());
    EXPECT_EQ(Text(additive->InputsLabel()), "0 of 32 Digital Inputs Used");
    EXPECT_TRUE(additive->MeterBox(1)->IsEnabled());
    EXPECT_FALSE(additive->MeterBox(2)->IsEnabled()) << "a side-stream arm has two meters";
    Tick(additive->MeterBox(1), true);
    Next(*sheet);
    auto* pulse = ShownPage<CDX3PulseOutDlg>(*sheet);
    ASSERT_NE(pulse, nullptr);
    Choose(pulse->OutputAt(0).arm, 1);
    EXPECT_TRUE(pulse->OutputAt(0).meter->IsEnabled());
    EXPECT_EQ(pulse->OutputAt(0).meter->GetCount(), 3u);
    Choose(pulse->OutputAt(0).meter, 2);
    Type(pulse->OutputAt(0).perUnit, "2.5");
    Next(*sheet);
    Back(*sheet);
    EXPECT_EQ(pulse->OutputAt(0).meter->GetSelection(), 2) << "the stored meter shows again";
    EXPECT_EQ(pulse->OutputAt(0).perUnit->GetValue(), "2.5");
    Back(*sheet);
    EXPECT_EQ(Answers().additives[0].meterMask, 2);

    // Without the AICB board the list has no Ferrix, and the stored Ferrix is gone.
    while (Shown(*sheet) != kHardware) Back(*sheet);
    Tick(hardware->AicbBox(), false);
    NextTo(kAdditive1);
    EXPECT_EQ(additive->TypeList()->GetCount(), 8u);
    EXPECT_EQ(additive->TypeList()->GetSelection(), 0);
    EXPECT_EQ(Answers().additives[0].type, 0);
}

TEST_F(WizardSheet, DetailAndMeterPagesFollowTheArm) {
    ToArm1(3);  // 3-product sequential
    NextTo(kDetail1);
    auto* detail = ShownPage<CDX3ArmDetailDlg>(*sheet);
    using D = CDX3ArmDetailDlg;
    EXPECT_EQ(Text(detail->CaptionLabel()), "Arm #1 Configuration Detail");
    EXPECT_EQ(Text(detail->TypeLabel()), "3-Product Sequential Blending Arm");
    EXPECT_TRUE(detail->BoxAt(D::kBlockValveOutputs)->GetValue()) << "block valves start ticked";
    EXPECT_FALSE(detail->BoxAt(D::kSecurity)->IsEnabled());
    Tick(detail->BoxAt(D::kDualPulse), true);
    EXPECT_TRUE(detail->BoxAt(D::kSecurity)->IsEnabled());
    Tick(detail->BoxAt(D::kSecurity), true);
    Tick(detail->BoxAt(D::kTicketTray), true);
    Tick(detail->BoxAt(D::kBlockValveFeedback), true);
    Next(*sheet);
    EXPECT_TRUE(Answers().transmitterSecurity);
    EXPECT_TRUE(Answers().armInputs[0].ticketTray);
    EXPECT_EQ(Answers().blockValveOutputs[0], 1);

    auto* meter = ShownPage<CDX3MeterRunDlg>(*sheet);
    ASSERT_EQ(Shown(*sheet), kMeter11);
    EXPECT_EQ(Text(meter->CaptionLabel()), "Arm #1 Meter Detail");
    for (int kind : {R::kTemperature, R::kDensity, R::kPressure}) {
        EXPECT_EQ(meter->ShareList(kind)->GetCount(), 0u);
        EXPECT_FALSE(meter->TransducerGroup(kind)->IsItemEnabled(kind == R::kPressure ? 3 : 4));
    }
    Pick(meter->ValveGroup(), A::kValveAnalog);
    Pick(meter->TransducerGroup(R::kTemperature), A::kRtdOrFrequency);
    Next(*sheet);
    EXPECT_EQ(Answers().meters[0][0].valve, A::kValveAnalog);
    EXPECT_EQ(Answers().meters[0][0].temperature, A::kRtdOrFrequency);
    EXPECT_EQ(Shown(*sheet), kPulse) << "one meter on a sequential arm";

    // A ratio arm's second meter may share the first one's temperature.
    while (Shown(*sheet) != kArm1) Back(*sheet);
    Pick(ShownPage<CDX3ArmCfgDlg>(*sheet)->TypeList(), 8);
    NextTo(kMeter12);
    EXPECT_EQ(Text(meter->CaptionLabel()), "Arm #1 Meter 1 Detail");
    auto* second = ShownPage<CDX3MeterRunDlg>(*sheet);
    EXPECT_EQ(Text(second->CaptionLabel()), "Arm #1 Meter 2 Detail");
    EXPECT_TRUE(second->TransducerGroup(R::kTemperature)->IsItemEnabled(A::kShared));
    EXPECT_FALSE(second->ShareList(R::kTemperature)->IsEnabled());
    Pick(second->TransducerGroup(R::kTemperature), A::kShared);
    EXPECT_TRUE(second->ShareList(R::kTemperature)->IsEnabled());
    EXPECT_EQ(second->ShareList(R::kTemperature)->GetStringSelection(), "Arm1 Mtr1");
    Next(*sheet);
    EXPECT_EQ(Answers().meters[0][1].temperatureShare, 1);
}

}  // namespace
}  // namespace qs::test
