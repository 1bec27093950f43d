// The totals printed: three pages, each with its header, title and list at their lines.
#include <gtest/gtest.h>

#include "appmodel/totals/TotalsReport.h"
#include "platform/PrintSheet.h"

namespace qs::test {
namespace {

TEST(TotalsReportPages, ThreePagesOfHeadingsRulesAndRightAlignedCells) {
    TotalsLists lists;
    lists.Insert(TotalsLists::kProducts, 0, "Arm 1 - ");
    lists.InsertRow(TotalsLists::kProducts, 1, {" REGULAR UNLEADED", " 1011", " 1012", "", "  NO05", "12345678901234"});
    lists.InsertRow(TotalsLists::kAdditives, 0, {"Additive 1", "75.5"});
    PrintSheet sheet(0);
    TotalsReport::Lay(sheet, lists, "/racks/Rack 4.D3X", "March 04, 2024 05:06");

    const std::string rules6 = "   ---------   ---------   ---------   ---------   ---------   ---------";
    struct Line {
        int line;
        std::string text;
    };
    const std::vector<std::vector<Line>> pages = {
        {{0, "/racks/Rack 4.D3X Totalizer Report - Printed March 04, 2024 05:06 "},
         {3, " Totals by Product / Arm"},
         {5, "     Product          IV          GV         GST         GSV        Mass"},
         {6, rules6},
         {7, "    Arm 1 - " + std::string(5 * 12, ' ')},
         {8, " REGULAR UNL        1011        1012                    NO05123456789012"}},
        {{0, "/racks/Rack 4.D3X Totalizer Report Pg 2 - Printed March 04, 2024 05:06 "},
         {3, "Additive Totals"},
         {5, "    Additive      Volume"},
         {6, "   ---------   ---------"},
         {7, "  Additive 1        75.5"}},
        {{0, "/racks/Rack 4.D3X Totalizer Report Pg 3 - Printed March 04, 2024 05:06 "},
         {3, "Totals by Recipe"},
         {5, "      Recipe          IV          GV         GST         GSV        Mass"},
         {6, rules6}},
    };
    std::vector<std::vector<Line>> printed(1);
    for (const PrintItem& item : sheet.Items()) {
        if (item.kind == PrintItem::Kind::PageBreak) printed.emplace_back();
        else printed.back().push_back({item.line, item.text});
    }
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(sheet.Pages(), 3);
    for (size_t p = 0; p < pages.size(); ++p) {
        ASSERT_EQ(printed[p].size(), pages[p].size()) << "page " << p + 1;
        for (size_t i = 0; i < pages[p].size(); ++i) {
            SCOPED_TRACE("page " + std::to_string(p + 1) + " item " + std::to_string(i));
            EXPECT_EQ(printed[p][i].line, pages[p][i].line);
            EXPECT_EQ(printed[p][i].text, pages[p][i].text);
        }
    }
}

}  // namespace
}  // namespace qs::test
