// The program-code list on a real document: what it lists for a selection, the row it keeps
// when the selection moves, and editing a row from the keyboard or the mouse.
#include <gtest/gtest.h>
#include <wx/splitter.h>
#include <wx/treectrl.h>

#include <functional>

#include "ListFixture.h"
#include "platform/PrintSheet.h"

namespace qs::test {
namespace {

using ListFills = ListFixture;

TEST_F(ListFills, ASubdirectoryListsEveryCodeWithItsValueCommentAndOnRequestItsLevel) {
    OpenWithList();
    const FrameSelection system = Holding(CDirectory::kSystem, 1);
    ASSERT_NE(system.subdirectory, nullptr);
    CParam* volume = system.directory->FindParam(1);
    volume->SetValue("5", 0);
    volume->SetLevel(2);
    list->SelectionChanged(system);

    ASSERT_EQ(list->GetColumnCount(), 3) << "no level column unless asked for";
    wxListItem heading;
    heading.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_WIDTH);
    list->GetColumn(CParamListView::kNameColumn, heading);
    EXPECT_EQ(heading.GetText(), "ID  Description");
    list->GetColumn(CParamListView::kValueColumn, heading);
    EXPECT_EQ(heading.GetText(), "Value");
    list->GetColumn(CParamListView::kCommentsColumn, heading);
    EXPECT_EQ(heading.GetText(), "Comments");

    const auto codes = Codes(*system.subdirectory);
    ASSERT_EQ(list->GetItemCount(), static_cast<int>(codes.size()));
    CParam* option = nullptr;
    CParam* readOnly = nullptr;
    for (size_t i = 0; i < codes.size(); ++i) {
        const long row = static_cast<long>(i);
        EXPECT_EQ(list->RowParam(row), codes[i]) << "chain order";
        EXPECT_EQ(list->CellText(row, CParamListView::kNameColumn), codes[i]->Name());
        EXPECT_EQ(list->CellText(row, CParamListView::kCommentsColumn), codes[i]->GetApplicabilityText());
        if (!option && codes[i]->HasOptionList()) option = codes[i];
        if (!readOnly && codes[i]->IsReadOnly()) readOnly = codes[i];
    }
    const long volumeRow = RowOf(1);
    ASSERT_GE(volumeRow, 0);
    EXPECT_EQ(list->CellText(volumeRow, CParamListView::kNameColumn).substr(0, 4), "001 ");
    EXPECT_EQ(list->CellText(volumeRow, CParamListView::kValueColumn), "005.00") << "numbers in their format";
    EXPECT_EQ(list->FocusedRow(), 0);

    // An option code shows the text stored, not a number formatted from it.
    ASSERT_NE(option, nullptr) << "the subdirectory has an option code";
    option->SetValue("1 " + option->OptionText(1), 0);

    options.ShowSecLvl = true;
    list->SelectionChanged(system);
    ASSERT_EQ(list->GetColumnCount(), 4);
    list->GetColumn(CParamListView::kLevelColumn, heading);
    EXPECT_EQ(heading.GetText(), "Sec. Lvl");
    EXPECT_EQ(heading.GetWidth(), 120);
    EXPECT_EQ(list->CellText(volumeRow, CParamListView::kLevelColumn), "3");
    EXPECT_EQ(list->CellText(RowOf(option->number), CParamListView::kValueColumn), "1 " + option->OptionText(1));
    EXPECT_EQ(list->CellText(RowOf(option->number), CParamListView::kLevelColumn), "N/A");

    options.ShowSecLvl = false;
    list->Fill();
    EXPECT_EQ(list->GetColumnCount(), 3) << "the level column goes with the option";
}

TEST_F(ListFills, TheColumnsKeepTheirWidthsFromOneListToTheNext) {
    options.ShowSecLvl = true;
    OpenWithList();
    auto widths = [&] {
        std::vector<int> w;
        for (int c = 0; c < list->GetColumnCount(); ++c) w.push_back(list->GetColumnWidth(c));
        return w;
    };
    auto showEach = [&](const std::function<void()>& check) {
        for (int type : {CDirectory::kConfig, CDirectory::kSystem, CDirectory::kArm}) {
            CDirectory* d = Directory(type);
            ASSERT_NE(d, nullptr);
            for (CSubdirectory* sub = d->FirstWalked(); sub != nullptr; sub = sub->NextSubdirectory()) {
                FrameSelection s;
                s.directory = d;
                s.subdirectory = sub;
                s.instance = sub->DirectoryInstance();
                list->SelectionChanged(s);
                SCOPED_TRACE(sub->Name());
                check();
            }
        }
    };
    showEach([&] { EXPECT_EQ(widths(), (std::vector<int>{180, 180, 100, 120})); });

    // Widths the user dragged stay as well.
    list->SetColumnWidth(CParamListView::kNameColumn, 260);
    list->SetColumnWidth(CParamListView::kLevelColumn, 70);
    showEach([&] { EXPECT_EQ(widths(), (std::vector<int>{260, 180, 100, 70})); });
}

TEST_F(ListFills, AnArmBeyondTheActiveOnesListsOnlyItsEnableCodes) {
    OpenWithList();
    ASSERT_TRUE(doc->Core().SetParamValue(CDirectory::kConfig, 1, 0, 2));
    ASSERT_TRUE(doc->Core().ApplyConfiguration());
    ASSERT_EQ(doc->Core().ActiveArmCount(), 2);
    CDirectory* arm = Directory(CDirectory::kArm);
    ASSERT_NE(arm, nullptr);
    CSubdirectory* first = arm->Subdirectory(1);
    ASSERT_NE(first, nullptr);
    const auto codes = Codes(*first);
    ASSERT_GE(codes.size(), 8u);

    list->SelectionChanged(FrameSelection{arm, first, 0, 1});
    EXPECT_EQ(list->GetItemCount(), static_cast<int>(codes.size())) << "arm 2 is active";

    list->SelectionChanged(FrameSelection{arm, first, 0, 2});
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->RowParam(0), codes[6]);
    EXPECT_EQ(list->RowParam(1), codes[7]);

    if (CSubdirectory* other = first->NextSubdirectory()) {
        list->SelectionChanged(FrameSelection{arm, other, 0, 2});
        EXPECT_EQ(list->GetItemCount(), 0);
    }
    // A whole directory selected lists nothing.
    list->SelectionChanged(FrameSelection{arm, nullptr, 0, 0});
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(list->FocusedRow(), -1);
}

TEST_F(ListFills, TheSelectedRowStaysForTheSameKindOfListAndGoesBackToTheTopOtherwise) {
    OpenWithList();
    CDirectory* meter1 = Directory(CDirectory::kMeter, 0);
    CDirectory* meter2 = Directory(CDirectory::kMeter, 1);
    ASSERT_TRUE(meter1 && meter2);
    CSubdirectory* sub1 = meter1->FirstWalked();
    CSubdirectory* sub2 = meter2->Subdirectory(sub1->Id());
    ASSERT_GE(Codes(*sub1).size(), 5u);

    list->SelectionChanged(FrameSelection{meter1, sub1, 0, 0});
    Focus(4);
    list->SelectionChanged(FrameSelection{meter2, sub2, 1, 0});
    EXPECT_EQ(list->FocusedRow(), 4) << "Meter 1 to Meter 2 keeps the code";
    EXPECT_EQ(list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), 4);

    const FrameSelection system = Holding(CDirectory::kSystem, 1);
    list->SelectionChanged(system);
    EXPECT_EQ(list->FocusedRow(), 0) << "another directory type starts at the top";

    CDirectory* recipes = Directory(CDirectory::kRecipe);
    ASSERT_NE(recipes, nullptr);
    list->SelectionChanged(FrameSelection{recipes, recipes->Subdirectory(0), 0, 0});
    Focus(3);
    list->SelectionChanged(FrameSelection{recipes, recipes->Subdirectory(1), 1, 0});
    EXPECT_EQ(list->FocusedRow(), 3) << "one recipe to the next keeps the code";
    list->Fill();
    EXPECT_EQ(list->FocusedRow(), 3) << "a refill of the same list keeps it too";
}

using ListEdits = ListFixture;

TEST_F(ListEdits, EnterEditsTheFocusedRowAndTheRowShowsTheValueStored) {
    OpenWithList();
    list->SelectionChanged(Holding(CDirectory::kSystem, 1));
    CParam* volume = list->RowParam(RowOf(1));
    ASSERT_NE(volume, nullptr);
    volume->SetValue("5", 0);
    list->Fill();

    std::vector<std::string> captions;
    bool accept = false;
    list->SetDialogRunner([&](ParamEditRequest& request) {
        captions.push_back(request.caption);
        request.newValue = "12.5";
        return accept;
    });

    Focus(RowOf(1));
    PressKey(WXK_RETURN);
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0], "System 001 - Additive 1 Injection Volume");
    EXPECT_EQ(list->LastOutcome(), ParamEditFlow::Outcome::Cancelled);
    EXPECT_EQ(list->CellText(RowOf(1), CParamListView::kValueColumn), "005.00");
    EXPECT_FALSE(doc->IsModified()) << "a cancelled edit changes nothing";

    accept = true;
    PressKey(WXK_RETURN);
    EXPECT_EQ(list->LastOutcome(), ParamEditFlow::Outcome::Stored);
    EXPECT_EQ(volume->Value(0), "012.50") << "offline numbers are kept in their format";
    EXPECT_EQ(list->CellText(RowOf(1), CParamListView::kValueColumn), "012.50");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(list->FocusedRow(), RowOf(1)) << "the refill that follows keeps the row";
    PumpFor(30);
    EXPECT_EQ(list->FocusedRow(), RowOf(1));
    EXPECT_EQ(list->CellText(RowOf(1), CParamListView::kValueColumn), "012.50");

    // A double-click edits the row under the pointer, not the focused one.
    const long other = 2;
    wxListEvent activated(wxEVT_LIST_ITEM_ACTIVATED, list->GetId());
    activated.SetEventObject(list);
    activated.m_itemIndex = other;
    list->GetEventHandler()->ProcessEvent(activated);
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_NE(captions[2], captions[0]);
    EXPECT_EQ(captions[2].substr(0, 11), "System " + list->CellText(other, 0).substr(0, 3) + " ");
}

TEST_F(ListEdits, AReadOnlyCodeIsSaidAndNoEditorOpens) {
    OpenWithList();
    for (CDirectory* d = doc->Core().FirstDirectory(); d && list->GetItemCount() >= 0; d = d->NextDirectory()) {
        for (CSubdirectory* s = d->FirstWalked(); s; s = s->NextSubdirectory()) {
            for (CParam* p : Codes(*s)) {
                if (!p->IsReadOnly()) continue;
                list->SelectionChanged(FrameSelection{d, s, s->DirectoryInstance(), 0});
                bool opened = false;
                list->SetDialogRunner([&](ParamEditRequest&) { return opened = true; });
                Focus(RowOf(p->number));
                PressKey(WXK_RETURN);
                EXPECT_FALSE(opened);
                EXPECT_EQ(list->LastOutcome(), ParamEditFlow::Outcome::ReadOnly);
                EXPECT_EQ(ui.LastMessage(), ParamEditFlow::kReadOnlyMessage);
                EXPECT_FALSE(doc->IsModified());
                return;
            }
        }
    }
    GTEST_SKIP() << "the dictionary has no read-only code";
}

TEST_F(ListEdits, TabGoesToTheTreeBesideTheList) {
    doc = Open(WriteDocument("rack.D3X", "127.0.0.1"));
    ASSERT_NE(doc, nullptr);
    window = new wxFrame(nullptr, wxID_ANY, "Split", wxDefaultPosition, wxSize(640, 480));
    auto* splitter = new wxSplitterWindow(window);
    auto* tree = new wxTreeCtrl(splitter);
    tree->AddRoot("Rack");
    list = new CParamListView(splitter, *doc);
    splitter->SplitVertically(tree, list, 200);
    window->Show();
    PumpFor(50);
    list->SetFocus();
    PumpFor(20);
    PressKey(WXK_TAB);
    PumpFor(20);
    wxWindow* focus = wxWindow::FindFocus();
    EXPECT_TRUE(focus == tree || (focus && focus->GetParent() == tree));
}

TEST_F(ListFills, PrintsTheShownSubdirectoryOrTheWholeDocument) {
    OpenWithList();
    const FrameSelection system = Holding(CDirectory::kSystem, 1);
    list->SelectionChanged(system);
    PrintSheet selection;
    list->Print(selection, true, "May 04, 2025 10:00 ");
    PrintSheet expected;
    system.subdirectory->Print(expected);
    auto lines = selection.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], doc->GetFilename().utf8_string() + " - May 04, 2025 10:00 ");
    lines.erase(lines.begin());
    EXPECT_EQ(lines, expected.Lines());

    PrintSheet all;
    list->Print(all, false, "now");
    PrintSheet whole;
    doc->Core().PrintAll(whole);
    EXPECT_EQ(all.Lines().size(), whole.Lines().size() + 1);
}

}  // namespace
}  // namespace qs::test
