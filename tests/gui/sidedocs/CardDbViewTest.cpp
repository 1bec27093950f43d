// The card database editor in Quillset's main window: made by "Driver Database", one row per
// card and an empty one for a new card, the card texts in the status panes, editing, deleting
// with '.' or Edit > Delete, Edit > Find, File Open, and printing every page.
#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/generic/printps.h>
#include <wx/radiobut.h>

#include "SideDocumentShell.h"
#include "app/common/CFindDialog.h"
#include "app/common/CSearchBox.h"
#include "app/common/CSheetPrintout.h"
#include "app/sidedocs/carddb/CDatabasePrintout.h"

namespace qs::test {

namespace {

using Texts = std::vector<std::string>;
using CardDbView = SideDocumentShell;

// The texts of one row of the list.
Texts RowTexts(const CDatabaseView& view, long row) {
    Texts out;
    for (int c = 0; c < CDatabaseView::kColumnCount; ++c) out.push_back(view.CellText(row, c).utf8_string());
    return out;
}

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

}  // namespace

TEST_F(CardDbView, ShowsEveryCardAndAnEmptyRowForANewOneWithTheCardTextsInThePanes) {
    CDatabaseWxDoc* doc = NewDatabase({"B1,Smith,Truck 7,Gate 2,0042", "0020711F4,Jones,,,0007", "AB12,,,,0000"});
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetUserReadableName(), "DDB_1");
    EXPECT_EQ(doc->Core().Name(), "New Database");
    CDatabaseView* view = CardView(doc);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->List()->GetItemCount(), 4);
    EXPECT_EQ(RowTexts(*view, 0), (Texts{"0020711F4", "4596", "0007", "Jones", "", ""}));
    EXPECT_EQ(RowTexts(*view, 1), (Texts{"AB12", "0", "0000", "", "", ""}));
    EXPECT_EQ(RowTexts(*view, 2), (Texts{"B1", "0", "0042", "Smith", "Truck 7", "Gate 2"}));
    EXPECT_EQ(RowTexts(*view, 3), Texts(6, ""));
    EXPECT_EQ(view->FocusedRow(), 3);
    // The main window leaves the panes to the card texts while the database is in front.
    EXPECT_EQ(Panes(), (std::pair<std::string, std::string>{"3 cards", "Database size 65 bytes"}));
    EXPECT_FALSE(Enabled(ID_EDIT_CLEAR));
    FocusRow(*view, 1);
    EXPECT_EQ(Panes().first, "Card 2 of 3");
    EXPECT_TRUE(Enabled(ID_EDIT_CLEAR));
    EXPECT_TRUE(Enabled(ID_EDIT_FIND));
    // No program-data document: the device commands are off; there is no second window.
    EXPECT_FALSE(Enabled(ID_READ_ALL));
    EXPECT_FALSE(Enabled(ID_DUMP_ALL));
    EXPECT_FALSE(Enabled(ID_WINDOW_NEW));
}

TEST_F(CardDbView, EditingANewCardPutsItInItsSortedPlace) {
    CDatabaseWxDoc* doc = NewDatabase({"0001,,,,0000", "FF00,,,,0000"});
    CDatabaseView* view = CardView(doc);
    ASSERT_NE(view, nullptr);
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

TEST_F(CardDbView, DotOrEditDeleteRemovesTheCardAtTheCursorAndTheNewCardRowOnlyBeeps) {
    CDatabaseWxDoc* doc = NewDatabase({"A0,,,,0000", "B1,,,,0000", "C2,,,,0000"});
    CDatabaseView* view = CardView(doc);
    ASSERT_NE(view, nullptr);
    PressChar(*view, '.');
    EXPECT_EQ(doc->Core().Count(), 3);
    EXPECT_FALSE(doc->IsModified());
    FocusRow(*view, 0);
    PressChar(*view, '.');
    EXPECT_EQ(doc->Core().Records(), (Texts{"B1,,,,0000", "C2,,,,0000"}));
    EXPECT_TRUE(doc->IsModified());
    FocusRow(*view, 1);
    Choose(ID_EDIT_CLEAR);
    EXPECT_EQ(doc->Core().Records(), Texts{"B1,,,,0000"});
    EXPECT_EQ(view->List()->GetItemCount(), 2);
    EXPECT_EQ(Panes(), (std::pair<std::string, std::string>{"1 cards", "Database size 11 bytes"}));
}

TEST_F(CardDbView, EditFindSearchesTheRecordsInTheChosenDirection) {
    CDatabaseWxDoc* doc = NewDatabase({"A0,Smith,,,0000", "B1,Jones,,,0000", "C2,Smithers,,,0000"});
    CDatabaseView* view = CardView(doc);
    ASSERT_NE(view, nullptr);
    Choose(ID_EDIT_FIND);
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
        ui.prompt.shown.clear();
        (s.backward ? find->BackwardButton() : find->ForwardButton())->SetValue(true);
        FocusRow(*view, 3);
        wxCommandEvent click(wxEVT_BUTTON, s.button->GetId());
        click.SetEventObject(s.button);
        s.button->GetEventHandler()->ProcessEvent(click);
        PumpUntil([&] { return !ui.prompt.shown.empty() || view->FocusedRow() != 3; });
        if (s.row < 0) {
            EXPECT_EQ(ui.Messages(), Texts{"Text Not Found"});
        } else {
            EXPECT_EQ(view->FocusedRow(), s.row);
        }
    }
}

TEST_F(CardDbView, FileOpenOfA3dbShowsItsCards) {
    dir.Write("drivers.3DB", "B1,Smith,,,0042\r\nA0,Jones,,,0007\r\n");
    auto* doc = dynamic_cast<CDatabaseWxDoc*>(OpenFile(dir.File("drivers.3DB")));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Core().Records(), (Texts{"A0,Jones,,,0007", "B1,Smith,,,0042"}));
    EXPECT_EQ(CardView(doc)->List()->GetItemCount(), 3);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(CardDbView, EveryPagePrintsWithTheTitleOnTheFirst) {
    CDatabaseWxDoc* doc = NewDatabase();
    for (int i = 0; i < 60; ++i) doc->Core().AddRecord("C" + std::to_string(100 + i) + ",,,,0000");
    std::unique_ptr<wxPrintout> printout(CardView(doc)->OnCreatePrintout());
    auto* cards = dynamic_cast<CDatabasePrintout*>(printout.get());
    ASSERT_NE(cards, nullptr);
    EXPECT_EQ(cards->Header().rfind("DDB_1 - ", 0), 0u);
    // With the print dialog's start (every page), the printer gets both pages: here wx's
    // PostScript printer, writing to a file.
    wxPrintDialogData data = CSheetPrintout::AllPages(*printout);
    data.GetPrintData().SetFilename(wxString::FromUTF8(dir.File("cards.ps")));
    data.GetPrintData().SetPrintMode(wxPRINT_MODE_FILE);
    wxPostScriptPrinter printer(&data);
    ASSERT_TRUE(printer.Print(frame, printout.get(), false));
    const std::string ps = dir.Read("cards.ps");
    size_t pages = 0;
    for (size_t at = ps.find("%%Page:"); at != std::string::npos; at = ps.find("%%Page:", at + 1)) ++pages;
    EXPECT_EQ(pages, 2u);
    EXPECT_NE(ps.find("C159"), std::string::npos);
}

}  // namespace qs::test
