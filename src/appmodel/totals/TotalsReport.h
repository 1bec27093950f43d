#pragma once
#include <string>

#include "appmodel/totals/TotalsLists.h"

namespace qs {

class PrintSheet;

// The totals as a three-page report: products by arm, additives, recipes. Each page is headed
// by the document's path and the time of printing ("%B %d, %Y %H:%M", given by the window) at
// its top line, its title three lines down and its list from the fifth line: the column
// headings, a rule under each, then every row, each cell right-aligned in 12 characters and cut
// to them.
class TotalsReport {
public:
    static constexpr int kCellWidth = 12;
    static constexpr const char* kRule = "   ---------";

    // Lays the three pages out on `sheet` (made with a top line of 0).
    static void Lay(PrintSheet& sheet, const TotalsLists& lists, const std::string& path, const std::string& printedAt);
    // One cell: "%12.12s".
    static std::string Cell(const std::string& text);
    // The lines of one list: headings, rules, rows.
    static void LayList(PrintSheet& sheet, const TotalsList& list);
};

}  // namespace qs
