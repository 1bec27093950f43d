// The bit-field editors (alarms, meters, products, additives) and the address editor, driven
// through their boxes and fields.
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "EditFixture.h"
#include "app/programdata/CBitmapParamEditDlg.h"
#include "app/programdata/CParamEditIPDlg.h"
#include "app/programdata/ParamEditDialogs.h"
#include "appmodel/programdata/DocumentOptionsModel.h"

namespace qs::test {
namespace {

class BitmapDlgTest : public EditFixture {
protected:
    // The labels and control ids of the boxes, in bit order, and which are checked.
    static std::vector<std::string> Labels(const CBitmapParamEditDlg& d, int bits) {
        std::vector<std::string> out;
        for (int b = 0; b < bits; ++b) {
            wxCheckBox* box = d.BitBox(b);
            out.push_back(box ? box->GetLabel().utf8_string() + "#" + std::to_string(box->GetId()) : "-");
        }
        return out;
    }
    static std::vector<int> Checked(const CBitmapParamEditDlg& d) {
        std::vector<int> out;
        for (int b = 0; b < 32; ++b)
            if (wxCheckBox* box = d.BitBox(b); box && box->GetValue()) out.push_back(b);
        return out;
    }
    static void UncheckAll(CBitmapParamEditDlg& d) {
        for (int b = 0; b < 32; ++b)
            if (wxCheckBox* box = d.BitBox(b)) box->SetValue(false);
    }
};

TEST_F(BitmapDlgTest, ProductsOfARecipeAdditive) {
    ParamEditRequest request = Request(Row(CDirectory::kRecipe, 19, 0, 0, 0), "37", 1);
    ASSERT_EQ(request.kind, ParamDialogKind::ProductBits);
    auto dialog = MakeParamEditDialog(nullptr, request);
    auto& bits = dynamic_cast<CBitmapParamEditDlg&>(*dialog);
    bits.Show();
    EXPECT_EQ(bits.GetTitle(), "Edit Program Code Data");
    EXPECT_EQ(bits.CaptionText()->GetId(), 1072);
    EXPECT_EQ(bits.CaptionText()->GetLabel(), "Recipe 19 - Additive 1 Products");
    EXPECT_EQ(Labels(bits, 7), (std::vector<std::string>{"Product 1#1007", "Product 2#1416", "Product 3#1083",
                                                          "Product 4#1084", "Product 5#1085", "Product 6#1086", "-"}));
    EXPECT_EQ(Checked(bits), (std::vector<int>{0, 2, 5}));
    EXPECT_EQ(bits.LevelList()->GetStringSelection(), "Level 2");

    UncheckAll(bits);
    ClickOk(bits);
    EXPECT_FALSE(bits.IsShown());
    EXPECT_EQ(request.newValue, "0");
    EXPECT_EQ(request.newLevel, 1);
}

TEST_F(BitmapDlgTest, AlarmActionsKeepBitsThatHaveNoBox) {
    // Bits 0, 2 and 5 and 8: the alarm editor has boxes for bits 0-4 only.
    ParamEditRequest request = Request(Row(CDirectory::kSystem, 640), "293");
    ASSERT_EQ(request.kind, ParamDialogKind::AlarmBits);
    CAlarmBitmapDlg dialog(nullptr, request);
    dialog.Show();
    EXPECT_EQ(Labels(dialog, 6),
              (std::vector<std::string>{"Allow Clearing in Run or Ready Mode#1007", "Energize Alarm Relay 1#1216",
                                        "Energize Alarm Relay 2#1074", "Send Notification Email#1078",
                                        "Allow Flow to Continue#1079", "-"}));
    EXPECT_EQ(Checked(dialog), (std::vector<int>{0, 2}));
    EXPECT_NE(dialog.FindWindowByLabel("Check the appropriate boxes for desired function"), nullptr);

    UncheckAll(dialog);
    dialog.BitBox(4)->SetValue(true);
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(request.newValue, std::to_string(256 + 32 + 16));
}

TEST_F(BitmapDlgTest, MetersOfAnAdditiveAndTheTopBit) {
    ParamEditRequest request = Request(Row(CDirectory::kSystem, 815), "-2147483520");  // bits 7 and 31
    ASSERT_EQ(request.kind, ParamDialogKind::MeterBits);
    CMeterBitmapDlg dialog(nullptr, request);
    dialog.Show();
    EXPECT_EQ(Labels(dialog, 8), (std::vector<std::string>{"Meter 1#1007", "Meter 2#1316", "Meter 3#1078",
                                                           "Meter 4#1079", "Meter 5#1080", "Meter 6#1081",
                                                           "Downstream#1082", "-"}));
    EXPECT_TRUE(Checked(dialog).empty());
    dialog.BitBox(6)->SetValue(true);
    ClickOk(dialog);
    // Unsigned: the device's unsigned code never gets a negative number.
    EXPECT_EQ(request.newValue, std::to_string(0x80000000u + 128u + 64u));
}

TEST_F(BitmapDlgTest, AdditivesEnabledTwentyFourBoxesAndNoLevelChoice) {
    ParamEditRequest request = Request(Row(CDirectory::kSystem, 98), "16777215", 3);
    ASSERT_EQ(request.kind, ParamDialogKind::AdditiveBits);
    CAdditiveBitmapDlg dialog(nullptr, request);
    dialog.Show();
    const int ids[24] = {1007, 1916, 1168, 1089, 1169, 1135, 1082, 1170, 1171, 1172, 1103, 1173,
                         1174, 1175, 1176, 1177, 1178, 1179, 1180, 1181, 1182, 1183, 1184, 1185};
    for (int b = 0; b < 24; ++b) {
        ASSERT_NE(dialog.BitBox(b), nullptr) << b;
        EXPECT_EQ(dialog.BitBox(b)->GetId(), ids[b]) << b;
        EXPECT_EQ(dialog.BitBox(b)->GetLabel(), wxString::Format("Additive %d", b + 1));
        EXPECT_TRUE(dialog.BitBox(b)->GetValue()) << b;
    }
    EXPECT_EQ(dialog.BitBox(24), nullptr);
    EXPECT_FALSE(dialog.LevelList()->IsEnabled());
    EXPECT_EQ(dialog.LevelList()->GetStringSelection(), "Level 4");

    dialog.BitBox(1)->SetValue(false);
    ClickOk(dialog);
    EXPECT_EQ(request.newValue, std::to_string(16777215 - 2));
    EXPECT_EQ(request.newLevel, 3) << "the level stays as it was";
}

class AddressDlgTest : public EditFixture {};

TEST_F(AddressDlgTest, TheStoredNumberShowsAsADottedAddressAndComesBackAsANumber) {
    ParamEditRequest request = Request(Row(CDirectory::kSystem, 735), "3232235521", 3);
    ASSERT_EQ(request.kind, ParamDialogKind::IpAddress);
    auto dialog = MakeParamEditDialog(nullptr, request);
    auto& ip = dynamic_cast<CParamEditIPDlg&>(*dialog);
    ip.Show();
    EXPECT_EQ(ip.CaptionText()->GetLabel(), "System 735 - IP Address");
    EXPECT_EQ(ip.CurrentField()->GetValue(), "192.168.0.1");
    EXPECT_FALSE(ip.CurrentField()->IsEnabled());
    EXPECT_EQ(ip.NewAddressField()->GetValue(), "192.168.0.1");
    EXPECT_EQ(ip.HelpText()->GetLabel(), "Network address of this controller.");

    Type(ip.NewAddressField(), "10.0.0.300");
    ClickOk(ip);
    EXPECT_TRUE(ip.IsShown());
    EXPECT_EQ(ui.LastMessage(), DocumentOptionsModel::kBadIpMessage);

    Type(ip.NewAddressField(), "10.1.2.3");
    Choose(ip.LevelList(), 0);
    ClickOk(ip);
    EXPECT_FALSE(ip.IsShown());
    EXPECT_EQ(request.newValue, "167838211");
    EXPECT_EQ(request.newLevel, 0);

    // A stored value that is no address shows 0.0.0.0.
    ParamEditRequest junk = Request(Row(CDirectory::kSystem, 780), "gateway");
    CParamEditIPDlg other(nullptr, junk);
    other.Show();
    EXPECT_EQ(other.CurrentField()->GetValue(), "0.0.0.0");
}

}  // namespace
}  // namespace qs::test
