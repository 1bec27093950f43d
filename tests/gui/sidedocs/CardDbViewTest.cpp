#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>

#include "CardDbRig.h"
#include "TempDir.h"
#include "app/common/CFindDialog.h"
#include "app/common/CSearchBox.h"
#include "app/shell/CommandIds.h"
#include "app/sidedocs/carddb/CDatabasePrintout.h"

namespace qs::test {

namespace {

using Texts = std::vector<std::string>;

// A key as it reaches the list before the control itself sees it.
void PressChar(const CDatabaseView& view, wxChar c) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = c;
    key.m_uniChar = c;
    key.SetEventObject(view.List());
    view.List()->GetEventHandler()->ProcessEvent(key);
}

// A double-click or Enter on a row.
void Activate(const CDatabaseView& view, long row) {
    wxListEvent event(wxEVT_LIST_ITEM_ACTIVATED, view.List()->GetId());
    event.m_itemIndex = row;
    event.SetEventObject(view.List());
    view.List()->GetEventHandler()->ProcessEvent(event);
}

bool Enabled(CDatabaseView& view, int id) {
    wxUpdateUIEvent e(id);
    e.SetEventObject(view.GetFrame());
    view.ProcessEvent(e);
    return e.GetEnabled();
}

}  // namespace

TEST(CardDbView, ShowsEveryCardAndAnEmptyRowForANewOne) {
    CardDbRig rig;
    CDatabaseWxDoc* doc = rig.NewDocument({"B1,Smith,Truck 7,Gate 2,0042", "0020711F4,Jones,,,0007", "AB12,,,,0000"});
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetUserReadableName(), "DDB_1");
    EXPECT_EQ(doc->Core().Name(), "New Database");
    CDatabaseView* view = CardDbRig::ViewOf(doc);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->List()->GetItemCount(), 4);
    EXPECT_EQ(RowTexts(*view, 0), (Texts{"0020711F4", "4596", "0007", "Jones", "", ""}));
    EXPECT_EQ(RowTexts(*view, 1), (Texts{"AB12", "0", "0000", "", "", ""}));
    EXPECT_EQ(RowTexts(*view, 2), (Texts{"B1", "0", "0042", "Smith", "Truck 7", "Gate 2"}));
    EXPECT_EQ(RowTexts(*view, 3), Texts(6, ""));
    EXPECT_EQ(view->FocusedRow(), 3);
    EXPECT_EQ(rig.frame->panes, (std::pair<std::string, std::string>{"3 cards", "Database size 65 bytes"}));
    EXPECT_FALSE(view->ClearEnabled());
    FocusRow(*view, 1);
    EXPECT_EQ(rig.frame->panes.first, "Card 2 of 3");
    EXPECT_TRUE(view->ClearEnabled());
    EXPECT_TRUE(Enabled(*view, wxID_CLEAR));
    // No program-data document: the device commands are off.
    EXPECT_FALSE(Enabled(*view, ID_READ_ALL));
    EXPECT_FALSE(Enabled(*view, ID_DUMP_ALL));
    EXPECT_FALSE(Enabled(*view, ID_WINDOW_NEW));
}

TEST(CardDbView, EditingANewCardPutsItInItsSortedPlace) {
    CardDbRig rig;
    CDatabaseWxDoc* doc = rig.NewDocument({"0001,,,,0000", "FF00,,,,0000"});
    CDatabaseView* view = CardDbRig::ViewOf(doc);
    std::vector<CardRecordForm> shown;
    view->SetDialogRunner([&](CardRecordForm& form) {
        shown.push_back(form);
        form.key = "ab12";
        form.pin = "7";
        return true;
    });
    Activate(*view, 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].key, "");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->Core().Records(), (Texts{"0001,,,,0000", "AB12,,,,0007", "FF00,,,,0000"}));
    ASSERT_EQ(view->List()->GetItemCount(), 4);
    EXPECT_EQ(RowTexts(*view, 1), (Texts{"AB12", "0", "0007", "", "", ""}));
    EXPECT_EQ(view->FocusedRow(), 3);
    // An existing card opens with its own texts.
    Activate(*view, 2);
    EXPECT_EQ(shown.back().key, "FF00");
}

TEST(CardDbView, DotDeletesTheCardAtTheCursorAndOnlyBeepsOnTheNewCardRow) {
    CardDbRig rig;
    CDatabaseWxDoc* doc = rig.NewDocument({"A0,,,,0000", "B1,,,,0000"});
    CDatabaseView* view = CardDbRig::ViewOf(doc);
    PressChar(*view, '.');
    EXPECT_EQ(doc->Core().Count(), 2);
    EXPECT_FALSE(doc->IsModified());
    FocusRow(*view, 0);
    PressChar(*view, '.');
    EXPECT_EQ(doc->Core().Records(), Texts{"B1,,,,0000"});
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(view->List()->GetItemCount(), 2);
    EXPECT_EQ(rig.frame->panes, (std::pair<std::string, std::string>{"1 cards", "Database size 11 bytes"}));
}

TEST(CardDbView, FindSearchesTheRecordsInTheChosenDirection) {
    CardDbRig rig;
    CDatabaseWxDoc* doc = rig.NewDocument({"A0,Smith,,,0000", "B1,Jones,,,0000", "C2,Smithers,,,0000"});
    CDatabaseView* view = CardDbRig::ViewOf(doc);
    view->OnFind();
    CFindDialog* find = view->FindDialog();
    ASSERT_NE(find, nullptr);
    find->SearchBox()->SetValue("smith");
    find->IgnoreCaseBox()->SetValue(true);

    struct Step {
        bool backward;
        wxButton* button;
        long row;  // -1: not found
    };
    const std::vector<Step> steps = {{false, find->FindButton(), 0}, {false, find->FindNextButton(), 2},
                                     {false, find->FindNextButton(), -1}, {true, find->FindButton(), 2},
                                     {true, find->FindNextButton(), 0}, {true, find->FindNextButton(), -1}};
    for (const Step& s : steps) {
        rig.ui.prompt.shown.clear();
        (s.backward ? find->BackwardButton() : find->ForwardButton())->SetValue(true);
        FocusRow(*view, 3);
        wxCommandEvent click(wxEVT_BUTTON, s.button->GetId());
        click.SetEventObject(s.button);
        s.button->GetEventHandler()->ProcessEvent(click);
        PumpUntil([&] { return !rig.ui.prompt.shown.empty() || view->FocusedRow() != 3; });
        if (s.row < 0) {
            EXPECT_EQ(rig.ui.Messages(), Texts{"Text Not Found"});
        } else {
            EXPECT_EQ(view->FocusedRow(), s.row);
        }
    }
    // Without "Ignore Case" the search text is matched as typed.
    find->IgnoreCaseBox()->SetValue(false);
    find->ForwardButton()->SetValue(true);
    find->SearchBox()->SetValue("Jones");
    wxCommandEvent click(wxEVT_BUTTON, find->FindButton()->GetId());
    find->FindButton()->GetEventHandler()->ProcessEvent(click);
    EXPECT_TRUE(PumpUntil([&] { return view->FocusedRow() == 1; }));
}

TEST(CardDbView, SavedDatabaseOpensAgainAsItWas) {
    CardDbRig rig;
    TempDir dir;
    CDatabaseWxDoc* doc = rig.NewDocument({"B1,Smith,,,0042", "A0,Jones,,,0007"});
    ASSERT_TRUE(doc->OnSaveDocument(dir.File("drivers.3DB")));
    EXPECT_EQ(dir.Read("drivers.3DB"), "A0,Jones,,,0007\r\nB1,Smith,,,0042\r\n");
    wxDocument* reopened = rig.Manager().CreateDocument(dir.File("drivers.3DB"), wxDOC_SILENT);
    ASSERT_NE(reopened, nullptr);
    auto* again = dynamic_cast<CDatabaseWxDoc*>(reopened);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Core().Records(), doc->Core().Records());
    EXPECT_EQ(CardDbRig::ViewOf(again)->List()->GetItemCount(), 3);
    EXPECT_FALSE(again->IsModified());
    EXPECT_TRUE(rig.ui.Messages().empty());
}

TEST(CardDbView, PrintoutHasTheTitleOnTheFirstPage) {
    CardDbRig rig;
    CDatabaseWxDoc* doc = rig.NewDocument();
    for (int i = 0; i < 60; ++i) doc->Core().AddRecord("C" + std::to_string(100 + i) + ",,,,0000");
    std::unique_ptr<wxPrintout> printout(CardDbRig::ViewOf(doc)->OnCreatePrintout());
    auto* cards = dynamic_cast<CDatabasePrintout*>(printout.get());
    ASSERT_NE(cards, nullptr);
    EXPECT_EQ(cards->Pages(), 2);
    EXPECT_EQ(cards->Header().rfind("DDB_1 - ", 0), 0u);
}

}  // namespace qs::test
