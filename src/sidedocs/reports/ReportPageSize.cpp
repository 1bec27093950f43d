#include "sidedocs/reports/ReportPageSize.h"

#include <algorithm>

namespace qs {

namespace {

std::string RangeMessage(int low, int high) {
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

}  // namespace

ReportPageChoice ReportPageSize::ChoiceFor(int columns, int linesPerPage) {
    if (linesPerPage == kStandardLines && columns == kDefaultColumns) return kReportPageDefault;
    if (linesPerPage == kStandardLines && columns == kWideColumns) return kReportPageWide;
    return kReportPageCustom;
}

int ReportPageSize::MaxPages(int linesPerPage) { return kMaxGridLines / std::clamp(linesPerPage, 1, kMaxSide); }

ReportPageCheck ValidateReportPageSize(int columns, int linesPerPage, int pages) {
    if (columns < 1 || columns > ReportPageSize::kMaxSide)
        return {ReportPageField::Columns, RangeMessage(1, ReportPageSize::kMaxSide)};
    if (linesPerPage < 1 || linesPerPage > ReportPageSize::kMaxSide)
        return {ReportPageField::Lines, RangeMessage(1, ReportPageSize::kMaxSide)};
    const int maxPages = ReportPageSize::MaxPages(linesPerPage);
    if (pages < 1 || pages > maxPages) return {ReportPageField::Pages, RangeMessage(1, maxPages)};
    return {};
}

}  // namespace qs
