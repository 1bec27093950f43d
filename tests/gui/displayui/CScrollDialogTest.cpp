#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dc.h>

#include "GuiPump.h"
#include "emulators/displayui/CScrollDialog.h"

namespace qs::displayui {
namespace {

class TestFaceplate : public CScrollDialog {
public:
    TestFaceplate() : CScrollDialog("Faceplate", wxSize(735, 591)) {}
    int paints = 0;
    wxPoint menuAt = wxDefaultPosition;

protected:
    void PaintFaceplate(wxDC& dc) override {
        ++paints;
        dc.DrawRectangle(0, 0, 735, 591);
    }
    void ShowFaceplateMenu(const wxPoint& at) override { menuAt = at; }
};

struct ScrollRig {
    ScrollRig() {
        dialog = new TestFaceplate;
        dialog->Show();
        qs::test::PumpFor(50);
    }
    ~ScrollRig() {
        dialog->Destroy();
        qs::test::PumpFor(20);
    }
    void Resize(const wxSize& client) {
        dialog->SetClientSize(client);
        qs::test::PumpUntil([&] { return dialog->GetClientSize() == client; }, 3000);
        qs::test::PumpFor(30);
    }
    TestFaceplate* dialog;
};

TEST(CScrollDialogRanges, ScrollBarsOnlyWhenSmallerThanTheTemplate) {
    ScrollRig rig;
    EXPECT_EQ(rig.dialog->GetClientSize(), wxSize(735, 591));
    EXPECT_EQ(rig.dialog->RangeX(), 0);
    EXPECT_EQ(rig.dialog->RangeY(), 0);
    EXPECT_GT(rig.dialog->paints, 0);
    EXPECT_EQ(rig.dialog->GetMaxClientSize(), wxSize(735, 591));
    EXPECT_EQ(rig.dialog->GetMinClientSize(), wxSize(367, 295));

    auto* child = new wxButton(rig.dialog->Faceplate(), wxID_ANY, "7", wxPoint(100, 100));
    // 20 pixels narrower: three steps of 8 to scroll through, and no vertical bar.
    rig.Resize(wxSize(715, 591));
    EXPECT_EQ(rig.dialog->RangeX(), 3);
    EXPECT_EQ(rig.dialog->RangeY(), 0);
    EXPECT_FALSE(rig.dialog->Faceplate()->HasScrollbar(wxVERTICAL));
    rig.dialog->ScrollTo(99, 0);
    EXPECT_EQ(rig.dialog->ScrollPosition().x, 3);
    // Children scroll with the faceplate.
    rig.dialog->ScrollTo(0, 0);
    EXPECT_EQ(child->GetPosition(), wxPoint(100, 100));
    rig.dialog->ScrollTo(3, 0);
    EXPECT_EQ(child->GetPosition(), wxPoint(100 - 3 * CScrollDialog::kUnitX, 100));

    rig.Resize(wxSize(700, 500));
    EXPECT_EQ(rig.dialog->RangeX(), 5);
    EXPECT_EQ(rig.dialog->RangeY(), 23);
    rig.Resize(wxSize(735, 591));
    EXPECT_EQ(rig.dialog->RangeX(), 0);
    EXPECT_EQ(rig.dialog->ScrollPosition(), wxPoint(0, 0));
}

TEST(CScrollDialogKeys, EscAndEnterDoNotEndTheFaceplate) {
    ScrollRig rig;
    for (int key : {WXK_ESCAPE, WXK_RETURN, WXK_NUMPAD_ENTER}) {
        wxKeyEvent hook(wxEVT_CHAR_HOOK);
        hook.m_keyCode = key;
        hook.SetEventObject(rig.dialog);
        rig.dialog->GetEventHandler()->ProcessEvent(hook);
        qs::test::PumpFor(10);
        EXPECT_TRUE(rig.dialog->IsShown()) << key;
    }
    wxContextMenuEvent menu(wxEVT_CONTEXT_MENU, wxID_ANY, wxPoint(300, 200));
    menu.SetEventObject(rig.dialog->Faceplate());
    rig.dialog->Faceplate()->GetEventHandler()->ProcessEvent(menu);
    EXPECT_EQ(rig.dialog->menuAt, wxPoint(300, 200));
}

}  // namespace
}  // namespace qs::displayui
