#include "app/tools/CRegisterBrowseDlg.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include "../dialogs/DialogDriving.h"
#include "ModelFixtures.h"
#include "RecordingUi.h"
#include "app/common/CFindDialog.h"
#include "app/common/CSearchBox.h"
#include "programdata/ParamDictionary.h"

namespace qs::test {

namespace {

Def Reg(uint8_t dir, uint8_t type, uint8_t position, const std::string& name, uint8_t instances) {
    Def d;
    d.dir = dir;
    d.type = type;
    d.position = position;
    d.number = 700;
    d.instances = instances;
    d.name = name;
    return d;
}

class CRegisterBrowseDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        dict.Load(Records({Reg(4, 8, 0, "Flow Units", 0), Reg(4, 0, 1, "Site Name", 0), Reg(12, 8, 0, "Meter Flow", 6),
                           Reg(15, 8, 0, "Flow Rate", 1)}));
        owner = new wxFrame(nullptr, wxID_ANY, "owner");
    }
    void TearDown() override { delete owner; }

    const CParam* Named(const std::string& name) const {
        for (const CParam* p = dict.First(); p; p = p->Next())
            if (p->Name() == name) return p;
        return nullptr;
    }
    std::string Selected(CRegisterBrowseDlg& dialog) const {
        return dialog.Tree()->GetItemText(dialog.Tree()->GetSelection()).utf8_string();
    }
    void Select(CRegisterBrowseDlg& dialog, const std::string& name) const {
        dialog.Tree()->SelectItem(dialog.ItemOf(dialog.Model().NodeOf(Named(name))));
    }

    ParamDictionary dict;
    RecordingUi ui;
    wxFrame* owner = nullptr;
};

}  // namespace

TEST_F(CRegisterBrowseDlgTest, ShowsTheTreeAndFollowsTheSelectionWithItsBoxes) {
    CRegisterBrowseDlg dialog(owner, dict, ui.services, {Named("Meter Flow"), 6, true});
    EXPECT_EQ(dialog.GetTitle(), "Select Data Item");
    EXPECT_EQ(dialog.SearchButton()->GetLabel(), "&Search");
    const wxTreeItemId root = dialog.Tree()->GetRootItem();
    wxTreeItemIdValue cookie;
    EXPECT_EQ(dialog.Tree()->GetItemText(dialog.Tree()->GetFirstChild(root, cookie)), "System Run Data");
    // The current entry is selected; text registers are left out.
    EXPECT_EQ(Selected(dialog), "Meter Flow");
    EXPECT_EQ(dialog.Model().NodeOf(Named("Site Name")), -1);

    struct Row {
        const char* name;
        const char* label;
        bool offsetEnabled, armEnabled;
    };
    for (const Row& row : {Row{"Meter Flow", "Meter #: (1 - 6)", true, true}, Row{"Flow Rate", "#:", false, false},
                           Row{"Flow Units", "No Offset Used", false, false}}) {
        SCOPED_TRACE(row.name);
        Select(dialog, row.name);
        EXPECT_EQ(dialog.OffsetLabel()->GetLabel(), row.label);
        EXPECT_EQ(dialog.OffsetBox()->IsEnabled(), row.offsetEnabled);
        ASSERT_NE(dialog.ArmBox(), nullptr);
        EXPECT_EQ(dialog.ArmBox()->IsEnabled(), row.armEnabled);
    }
}

TEST_F(CRegisterBrowseDlgTest, OkChecksTheBoxesAndKeepsThePick) {
    CRegisterBrowseDlg dialog(owner, dict, ui.services, {nullptr, 6, true});
    Select(dialog, "Meter Flow");
    Type(dialog.OffsetBox(), "7");
    EXPECT_FALSE(dialog.TransferDataFromWindow());
    Type(dialog.OffsetBox(), "3");
    Type(dialog.ArmBox(), "7");
    EXPECT_FALSE(dialog.TransferDataFromWindow());
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"Please enter an integer between 0 and 6.",
                                                       "Please enter an integer between 1 and 6."}));
    EXPECT_EQ(dialog.result, nullptr);
    Type(dialog.ArmBox(), "2");
    ASSERT_TRUE(dialog.TransferDataFromWindow());
    EXPECT_EQ(dialog.result, Named("Meter Flow"));
    EXPECT_EQ(dialog.offset, 3);
    EXPECT_EQ(dialog.arm, 2);
}

TEST_F(CRegisterBrowseDlgTest, ReportCallersGetNoArmBox) {
    CRegisterBrowseDlg dialog(owner, dict, ui.services, {nullptr, 0, false});
    EXPECT_EQ(dialog.ArmBox(), nullptr);
    EXPECT_NE(dialog.Model().NodeOf(Named("Site Name")), -1);
}

TEST_F(CRegisterBrowseDlgTest, SearchFindsAcrossDirectoriesThenReportsTextNotFound) {
    CRegisterBrowseDlg dialog(owner, dict, ui.services, {nullptr, 6, true});
    Click(dialog.SearchButton());
    CFindDialog* find = dialog.FindDialog();
    ASSERT_NE(find, nullptr);
    EXPECT_FALSE(find->BackwardButton()->IsEnabled());
    EXPECT_FALSE(find->FromCursorBox()->IsEnabled());
    find->SearchBox()->SetValue("Flow");
    Click(find->FindButton());
    RunPendingEvents();
    EXPECT_EQ(Selected(dialog), "Flow Rate");
    std::vector<std::string> found;
    for (int i = 0; i < 2; ++i) {
        Click(find->FindNextButton());
        RunPendingEvents();
        found.push_back(Selected(dialog));
    }
    EXPECT_EQ(found, (std::vector<std::string>{"Flow Units", "Meter Flow"}));
    EXPECT_TRUE(ui.Messages().empty());
    Click(find->FindNextButton());
    RunPendingEvents();
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Text Not Found"});
    // Searching again from the top goes back to the first match; a second Search reuses the window.
    Click(find->FindButton());
    RunPendingEvents();
    EXPECT_EQ(Selected(dialog), "Flow Rate");
    Click(dialog.SearchButton());
    EXPECT_EQ(dialog.FindDialog(), find);
}

TEST_F(CRegisterBrowseDlgTest, PickRegisterReturnsTheBuiltId) {
    wxTheApp->CallAfter([this] {
        for (wxWindow* w : wxTopLevelWindows) {
            auto* dialog = dynamic_cast<CRegisterBrowseDlg*>(w);
            if (!dialog) continue;
            Select(*dialog, "Meter Flow");
            Type(dialog->OffsetBox(), "4");
            Type(dialog->ArmBox(), "3");
            ClickOk(*dialog);
        }
    });
    const auto picked = PickRegister(owner, dict, ui.services, {nullptr, 6, true});
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->entry, Named("Meter Flow"));
    EXPECT_EQ(picked->id, MakeRegisterId(2, 8, 12, 0, 4));

    // A directory node is no register.
    wxTheApp->CallAfter([this] {
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* dialog = dynamic_cast<CRegisterBrowseDlg*>(w)) {
                dialog->Tree()->SelectItem(dialog->ItemOf(0));
                ClickOk(*dialog);
            }
    });
    EXPECT_FALSE(PickRegister(owner, dict, ui.services, {nullptr, 6, true}));
}

}  // namespace qs::test
