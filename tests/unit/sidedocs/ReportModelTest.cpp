// The entries of a report document: kept in cell order, found by cell, taken out.
#include <gtest/gtest.h>

#include "ReportFixtures.h"

namespace qs::test {

namespace {

std::vector<std::string> Texts(const CReport& report) {
    std::vector<std::string> out;
    for (const auto& item : report.Items()) out.push_back(item->Text());
    return out;
}

}  // namespace

TEST(ReportModel, NewDocumentHasItsDefaults) {
    RecordingUi ui;
    ReportDictionary d;
    CReport report(d.dictionary, ui.services);
    report.SetFormFeed(false);
    report.SetCharset(3);
    report.SetPageSize(132, 20, 3);
    report.OnNewDocument();
    EXPECT_EQ(report.Title(), "New Report");
    EXPECT_EQ(report.Charset(), 0);
    EXPECT_TRUE(report.FormFeed());
    EXPECT_EQ(report.GridColumns(), 132);
    EXPECT_EQ(report.GridLines(), 60);
    EXPECT_TRUE(report.Items().empty());
}

TEST(ReportModel, InsertKeepsLineThenColumnOrderAndSameCellsInArrivalOrder) {
    ReportDoc doc;
    for (auto [line, column, text] : std::vector<std::tuple<int, int, const char*>>{
             {3, 5, "c"}, {0, 9, "a"}, {3, 1, "b"}, {7, 0, "e"}, {3, 5, "d"}, {0, 9, "a2"}})
        doc.AddText(line, column, text);
    EXPECT_EQ(Texts(doc.report), (std::vector<std::string>{"a", "a2", "b", "c", "d", "e"}));

    // The first entry of a shared cell is found; a cell past every entry of its line is not.
    EXPECT_EQ(doc.report.FindItemAt(3, 5)->Text(), "c");
    EXPECT_EQ(doc.report.FindItemAt(0, 9)->Text(), "a");
    EXPECT_EQ(doc.report.FindItemAt(3, 2), nullptr);
    EXPECT_EQ(doc.report.FindItemAt(8, 0), nullptr);
}

TEST(ReportModel, RemoveGivesTheEntryBackAndInsertPutsItWhereItNowBelongs) {
    ReportDoc doc;
    doc.AddText(1, 1, "first");
    ReportItem* moving = doc.AddText(2, 2, "moving");
    doc.AddText(4, 0, "last");
    std::unique_ptr<ReportItem> taken = doc.report.RemoveItem(moving);
    ASSERT_EQ(taken.get(), moving);
    EXPECT_EQ(doc.report.RemoveItem(moving), nullptr);
    EXPECT_EQ(Texts(doc.report), (std::vector<std::string>{"first", "last"}));
    taken->MoveTo(9, 0);
    EXPECT_EQ(doc.report.InsertItemInOrder(std::move(taken)), moving);
    EXPECT_EQ(Texts(doc.report), (std::vector<std::string>{"first", "last", "moving"}));
}

TEST(ReportModel, EntryTextsAndFormatsAreBounded) {
    ReportItem item(0, 0, std::string("ab\0cd", 5));
    EXPECT_EQ(item.Text(), "ab");
    item.SetText(std::string(300, 'x'));
    EXPECT_EQ(item.Text().size(), 254u);
    item.SetFormat("%-12.3f|ABCDEFG");
    EXPECT_EQ(item.Format(), "%-12.3f|ABCDE");
    item.MoveTo(-1, 1 << 20);
    EXPECT_EQ(item.Line(), 0);
    EXPECT_EQ(item.Column(), ReportItem::kMaxPosition);
    item.SetType(9);
    EXPECT_EQ(item.Type(), kReportItemUserText);
}

}  // namespace qs::test
