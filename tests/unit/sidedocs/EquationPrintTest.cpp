// The printed set: where the header and the lines stand, and where the pages break.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sidedocs/equations/EquationPrint.h"

namespace qs {
namespace {

TEST(EquationPrintTest, HeaderFirstThenLinesFromFourDownAndFiftyFiveLinesAPage) {
    struct Row {
        size_t lines;
        int pages;
    };
    for (const Row row : {Row{0, 1}, Row{51, 1}, Row{52, 2}, Row{102, 2}, Row{103, 3}}) {
        std::vector<std::string> texts;
        for (size_t i = 0; i < row.lines; ++i) texts.push_back("L" + std::to_string(i));
        const PrintSheet sheet = EquationPrint::Print(EquationPrint::Header("Prog1", "May 04, 2026 09:15"), texts);
        EXPECT_EQ(sheet.Pages(), row.pages) << row.lines;
        ASSERT_FALSE(sheet.Items().empty());
        EXPECT_EQ(sheet.Items()[0].text, "Prog1 - Printed May 04, 2026 09:15 ");
        EXPECT_EQ(sheet.Items()[0].line, 0);
        int highest = 0;
        for (const PrintItem& item : sheet.Items()) {
            if (item.kind == PrintItem::Kind::Line) highest = std::max(highest, item.line);
        }
        EXPECT_LT(highest, EquationPrint::kPageLines) << row.lines;
        if (row.lines > 0) {
            EXPECT_EQ(sheet.Items()[1].text, "L0");
            EXPECT_EQ(sheet.Items()[1].line, EquationPrint::kTopLine);
        }
        EXPECT_EQ(sheet.Lines().size(), row.lines + 1);
    }
}

}  // namespace
}  // namespace qs
