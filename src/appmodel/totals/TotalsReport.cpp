#include "appmodel/totals/TotalsReport.h"

#include "platform/PrintSheet.h"

namespace qs {

namespace {

struct Page {
    const char* header;  // after the path
    const char* title;
    TotalsLists::Which list;
};

constexpr Page kPages[] = {
    {" Totalizer Report - Printed ", " Totals by Product / Arm", TotalsLists::kProducts},
    {" Totalizer Report Pg 2 - Printed ", "Additive Totals", TotalsLists::kAdditives},
    {" Totalizer Report Pg 3 - Printed ", "Totals by Recipe", TotalsLists::kRecipes},
};

// Where a page's title and its list stand, in text heights from the top.
constexpr int kTitleLine = 3;
constexpr int kListLine = 5;

}  // namespace

std::string TotalsReport::Cell(const std::string& text) {
    const std::string cut = text.substr(0, kCellWidth);
    return std::string(kCellWidth - cut.size(), ' ') + cut;
}

void TotalsReport::LayList(PrintSheet& sheet, const TotalsList& list) {
    std::string headings, rules;
    for (const TotalsColumn& column : list.columns) {
        headings += Cell(column.heading);
        rules += kRule;
    }
    sheet.AddLine(headings);
    sheet.AddLine(rules);
    for (const std::vector<std::string>& row : list.rows) {
        std::string line;
        for (const std::string& cell : row) line += Cell(cell);
        sheet.AddLine(line);
    }
}

void TotalsReport::Lay(PrintSheet& sheet, const TotalsLists& lists, const std::string& path,
                       const std::string& printedAt) {
    bool first = true;
    for (const Page& page : kPages) {
        if (!first) sheet.NewPage();
        first = false;
        sheet.Skip(-sheet.Line());
        sheet.AddLine(path + page.header + printedAt + " ", kTitleLine);
        sheet.AddLine(page.title, kListLine - kTitleLine);
        LayList(sheet, lists.List(page.list));
    }
}

}  // namespace qs
