// What the report editor does with a report's entries apart from its window: the grid's
// cells, which entry a point hits, new entries and their properties, cut, copy and paste,
// drag and drop within and between reports, and the printed proof.
#include <gtest/gtest.h>

#include "ReportFixtures.h"
#include "sidedocs/reports/ReportClipboardBlock.h"
#include "sidedocs/reports/ReportEditor.h"
#include "sidedocs/reports/ReportItemTokens.h"
#include "sidedocs/reports/ReportPrint.h"

namespace qs::test {
namespace {

struct EditorDoc : ReportDoc {
    EditorDoc() { editor.SetCellSize(10, 20); }
    ReportItemTokens tokens{7};
    ReportEditor editor{report, tokens};

    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& i : report.Items())
            out.push_back(std::to_string(i->Line()) + "," + std::to_string(i->Column()) + ":" + i->Text());
        return out;
    }
};

using Texts = std::vector<std::string>;

TEST(ReportEditorGeometry, CellsAndHits) {
    EditorDoc d;  // 80 columns, 60 lines, cells of 10 x 20
    struct Row {
        int x, y;
        bool inside;
        int line, column;
    } rows[] = {
        {0, 0, true, 0, 0},      {799, 1199, true, 59, 79}, {800, 0, false, 0, 0},
        {0, 1200, false, 0, 0},  {-1, 5, false, 0, 0},     {15, 45, true, 2, 1},
    };
    for (const Row& r : rows) {
        const auto cell = d.editor.CellAt(r.x, r.y);
        ASSERT_EQ(cell.has_value(), r.inside) << r.x << "," << r.y;
        if (cell) {
            EXPECT_EQ(std::pair(cell->line, cell->column), std::pair(r.line, r.column));
        }
        EXPECT_EQ(d.editor.CanDrop(cell), r.inside);
    }

    ReportItem* first = d.AddText(2, 3, "ABCD");  // pixels 30..71 x 40..61
    ReportItem* over = d.AddText(3, 5, "X");      // drawn later, over the first's extra pixels
    ReportItem* empty = d.AddText(10, 0, "");
    EXPECT_EQ(d.editor.ItemAt(30, 40), first);
    EXPECT_EQ(d.editor.ItemAt(71, 61), first);
    EXPECT_EQ(d.editor.ItemAt(72, 50), nullptr);
    EXPECT_EQ(d.editor.ItemAt(29, 50), nullptr);
    EXPECT_EQ(d.editor.ItemAt(55, 61), over);
    EXPECT_EQ(d.editor.ItemAt(5, 205), empty);  // an empty text still takes a cell
    EXPECT_EQ(ReportEditor::PositionText(*first), "Line: 003  Col: 004");
    EXPECT_EQ(ReportEditor::PositionText(ReportCell{1233, 0}), "Line: 1234  Col: 001");
}

TEST(ReportEditorGeometry, GridStopsWhereLinesNoLongerFitTheDevice) {
    ReportDoc d;
    d.report.SetPageSize(255, 32767, 32767);
    EXPECT_EQ(d.report.GridLines(), ReportItem::kMaxPosition + 1);
    d.report.SetPageSize(80, 60, 3);
    EXPECT_EQ(d.report.GridLines(), 180);
}

TEST(ReportEditorEntries, PropertiesOfNewAndExistingEntries) {
    EditorDoc d;
    ReportItem* a = d.AddText(1, 0, "A");
    d.AddText(5, 0, "B");

    // A new entry is not part of the report until its properties are accepted.
    ReportItem& fresh = d.editor.BeginInsert(ReportCell{3, 2});
    EXPECT_EQ(d.editor.Focused(), &fresh);
    EXPECT_EQ(fresh.Text(), "New Item");
    EXPECT_EQ(d.Texts(), (Texts{"1,0:A", "5,0:B"}));
    d.editor.CancelProperties(fresh);
    EXPECT_EQ(d.editor.Pending(), nullptr);
    EXPECT_EQ(d.editor.Focused(), a);  // the first, as nothing followed the new entry
    EXPECT_FALSE(d.report.IsModified());

    ReportItem& accepted = d.editor.BeginInsert(ReportCell{3, 2});
    accepted.SetText("C");
    d.editor.CommitProperties(accepted);
    EXPECT_EQ(d.Texts(), (Texts{"1,0:A", "3,2:C", "5,0:B"}));
    EXPECT_TRUE(d.report.IsModified());

    // An entry of the report moved by its properties goes back in order; a cancel keeps it.
    a->MoveTo(9, 9);
    d.editor.CommitProperties(*a);
    EXPECT_EQ(d.Texts(), (Texts{"3,2:C", "5,0:B", "9,9:A"}));
    EXPECT_EQ(d.editor.Focused(), a);
    d.editor.CancelProperties(*a);
    EXPECT_EQ(d.Texts(), (Texts{"3,2:C", "5,0:B", "9,9:A"}));

    // Delete goes on to the next entry; Tab wraps from the last to the first.
    EXPECT_EQ(d.editor.NextAfter(a)->Text(), "C");
    d.editor.Focus(d.report.FindItemAt(3, 2));
    EXPECT_TRUE(d.editor.DeleteFocused());
    EXPECT_EQ(d.editor.Focused()->Text(), "B");
    EXPECT_EQ(d.Texts(), (Texts{"5,0:B", "9,9:A"}));
}

TEST(ReportEditorClipboard, CutCopyPasteAndPasteHere) {
    EditorDoc d;
    ReportItem* value = d.AddValue(0, 0, ReportDictionary::MeterFactor(2), "%6d");
    value->SetText("65000");
    value->SetCondition(1);
    d.AddText(4, 4, "After");
    d.report.SetModified(false);
    EXPECT_FALSE(d.editor.Copy(false));  // nothing focused

    d.editor.Focus(value);
    const auto block = d.editor.Copy(false);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->size(), ReportClipboardBlock::kSize);
    EXPECT_FALSE(d.report.IsModified());

    // The top-left cell is taken: a plain paste refuses, Paste Here puts a second entry there.
    EXPECT_EQ(d.editor.PasteBlock(*block, ReportCell{0, 0}, true), ReportEditor::PasteResult::kOccupied);
    EXPECT_EQ(d.report.Items().size(), 2u);
    EXPECT_EQ(d.editor.PasteBlock(*block, ReportCell{0, 0}, false), ReportEditor::PasteResult::kPasted);
    EXPECT_EQ(d.editor.PasteBlock(*block, ReportCell{7, 1}, true), ReportEditor::PasteResult::kPasted);
    const ReportItem* pasted = d.report.FindItemAt(7, 1);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(d.editor.Focused(), pasted);
    EXPECT_EQ(pasted->Condition(), 1);  // a copy of the entry, not only of the block's fields
    EXPECT_EQ(pasted->RegisterId(), ReportDictionary::MeterFactor(2));
    EXPECT_EQ(pasted->Format(), "%6d");

    // A cut takes the entry out and the focus on; the block still pastes.
    d.editor.Focus(d.report.FindItemAt(4, 4));
    const auto cut = d.editor.Copy(true);
    ASSERT_TRUE(cut);
    EXPECT_EQ(d.report.FindItemAt(4, 4), nullptr);
    EXPECT_NE(d.editor.Focused(), nullptr);
    EXPECT_EQ(d.editor.PasteBlock(*cut, ReportCell{20, 0}, true), ReportEditor::PasteResult::kPasted);
    EXPECT_EQ(d.report.FindItemAt(20, 0)->Text(), "After");

    // Plain text becomes one line of user text; a damaged block is not pasted.
    EXPECT_EQ(d.editor.PastePlain("two\r\nlines", ReportCell{30, 3}, true), ReportEditor::PasteResult::kPasted);
    EXPECT_EQ(d.report.FindItemAt(30, 3)->Text(), "two  lines");
    EXPECT_EQ(d.report.FindItemAt(30, 3)->Type(), kReportItemUserText);
    EXPECT_EQ(d.editor.PasteBlock(cut->substr(0, 100), ReportCell{31, 0}, true), ReportEditor::PasteResult::kRefused);
    EXPECT_TRUE(d.report.IsModified());
}

TEST(ReportEditorDrag, MoveCopyCancelAndAnotherReport) {
    EditorDoc d;
    ReportItem* a = d.AddText(2, 2, "Drag me");
    a->SetCondition(3);
    d.report.SetModified(false);

    // Dropped nowhere: back where it was, the report unchanged.
    auto drag = d.editor.BeginDrag(*a);
    ASSERT_TRUE(drag);
    EXPECT_EQ(drag->plain, "Drag me");
    EXPECT_TRUE(d.report.Items().empty());
    d.editor.EndDrag(false);
    EXPECT_EQ(d.Texts(), (Texts{"2,2:Drag me"}));
    EXPECT_FALSE(d.report.IsModified());

    // Moved within the report.
    drag = d.editor.BeginDrag(*d.report.Items().front());
    EXPECT_EQ(d.editor.DropBlock(drag->block, ReportCell{8, 1}), ReportEditor::PasteResult::kPasted);
    d.editor.EndDrag(true);
    EXPECT_EQ(d.Texts(), (Texts{"8,1:Drag me"}));
    EXPECT_EQ(d.report.Items().front()->Condition(), 3);

    // Copied: the original comes back beside the copy. Outside the grid nothing lands.
    drag = d.editor.BeginDrag(*d.report.Items().front());
    EXPECT_EQ(d.editor.DropBlock(drag->block, ReportCell{60, 0}), ReportEditor::PasteResult::kRefused);
    EXPECT_EQ(d.editor.DropBlock(drag->block, ReportCell{0, 80}), ReportEditor::PasteResult::kRefused);
    EXPECT_EQ(d.editor.DropBlock(drag->block, ReportCell{9, 1}), ReportEditor::PasteResult::kPasted);
    d.editor.EndDrag(false);
    EXPECT_EQ(d.Texts(), (Texts{"8,1:Drag me", "9,1:Drag me"}));

    // Moved into another report (same process, same tokens): it belongs to that one now.
    ReportDoc other;
    ReportEditor there(other.report, d.tokens);
    drag = d.editor.BeginDrag(*d.report.Items().front());
    EXPECT_EQ(there.DropBlock(drag->block, ReportCell{0, 0}), ReportEditor::PasteResult::kPasted);
    d.editor.EndDrag(true);
    EXPECT_EQ(d.Texts(), (Texts{"9,1:Drag me"}));
    ASSERT_EQ(other.report.Items().size(), 1u);
    EXPECT_EQ(other.report.Items().front()->Condition(), 3);
    EXPECT_TRUE(other.report.IsModified());

    // After the drag, its token names nothing: a block kept from it pastes from its own fields.
    ReportDoc third;
    ReportEditor late(third.report, d.tokens);
    EXPECT_EQ(late.PasteBlock(drag->block, ReportCell{1, 1}, true), ReportEditor::PasteResult::kPasted);
    EXPECT_EQ(third.report.Items().front()->Condition(), 0);
}

TEST(ReportEditorDrag, AWindowClosedMidDragPutsTheEntryBack) {
    ReportDoc d;
    ReportItemTokens tokens(1);
    d.AddText(1, 1, "Kept");
    {
        ReportEditor editor(d.report, tokens);
        ASSERT_TRUE(editor.BeginDrag(*d.report.Items().front()));
    }
    ASSERT_EQ(d.report.Items().size(), 1u);
    EXPECT_EQ(d.report.Items().front()->Text(), "Kept");
}

TEST(ReportPrintProof, HeaderEntriesAtTheirCellsAndOnePagePerReportPage) {
    ReportDoc d;
    d.report.SetPageSize(20, 3, 4);
    d.AddText(0, 2, "Title");
    d.AddText(0, 5, "XY");          // drawn over the earlier entry's cells
    d.AddText(2, 17, "Cut here");   // cut at the page's width
    d.AddText(4, 0, "Second page");
    const std::string header = ReportPrint::Header("/tmp/r.RPX", "June 01, 2026 10:00");
    EXPECT_EQ(header, "/tmp/r.RPX Sample - Printed June 01, 2026 10:00 ");
    const PrintSheet sheet = ReportPrint::Print(d.report, header);
    EXPECT_EQ(sheet.Lines(), (std::vector<std::string>{header, "  TitXY", "", "                 Cut", header, "",
                                                       "Second page", ""}));
    EXPECT_EQ(sheet.Pages(), 2);  // the empty third and fourth pages are left out
}

}  // namespace
}  // namespace qs::test
