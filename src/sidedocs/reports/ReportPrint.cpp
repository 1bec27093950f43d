#include "sidedocs/reports/ReportPrint.h"

#include <algorithm>

#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportItem.h"

namespace qs {

std::string ReportPrint::Header(const std::string& path, const std::string& when) {
    return path + " Sample - Printed " + when + " ";
}

PrintSheet ReportPrint::Print(const CReport& report, const std::string& header) {
    PrintSheet sheet(0);
    sheet.AddLine(header, 2);
    const auto& items = report.Items();
    const int perPage = std::max(report.LinesPerPage(), 1);
    const auto width = static_cast<size_t>(std::max(report.GridColumns(), 1));
    const int lastLine = items.empty() ? 0 : std::min(items.back()->Line(), report.GridLines() - 1);
    const int pages = lastLine / perPage + 1;
    auto next = items.begin();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            sheet.NewPage();
            sheet.AddLine(header, 2);
        }
        for (int row = 0; row < perPage; ++row) {
            const int line = page * perPage + row;
            std::string text;
            // Entries are in line and column order; a later one on the same cells wins, as it
            // is drawn over the earlier on the grid.
            for (; next != items.end() && (*next)->Line() <= line; ++next) {
                const ReportItem& item = **next;
                if (item.Line() < line) continue;
                const auto column = static_cast<size_t>(item.Column());
                if (column >= width) continue;
                const std::string shown = item.Text().substr(0, width - column);
                if (text.size() < column + shown.size()) text.resize(column + shown.size(), ' ');
                text.replace(column, shown.size(), shown);
            }
            sheet.AddLine(text);
        }
    }
    return sheet;
}

}  // namespace qs
