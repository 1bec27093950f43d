#pragma once
#include <string>

namespace qs {

// The page sizes the report options offer.
enum ReportPageChoice : int { kReportPageDefault = 0, kReportPageWide = 1, kReportPageCustom = 2 };

struct ReportPageSize {
    static constexpr int kDefaultColumns = 80;
    static constexpr int kWideColumns = 132;
    static constexpr int kStandardLines = 60;
    // A custom page: columns and lines per page in 1..kMaxSide.
    static constexpr int kMaxSide = 255;
    // The grid of all pages must stay within the device's line numbers.
    static constexpr int kMaxGridLines = 65534;

    // The choice that shows a page of this size.
    static ReportPageChoice ChoiceFor(int columns, int linesPerPage);
    // The columns and lines of the default and wide choices.
    static int ColumnsOf(ReportPageChoice choice) { return choice == kReportPageWide ? kWideColumns : kDefaultColumns; }

    // The most pages a report of these lines per page may have.
    static int MaxPages(int linesPerPage);
};

// Which field of the options a size is refused on, and why.
enum class ReportPageField { None, Columns, Lines, Pages };
struct ReportPageCheck {
    ReportPageField field = ReportPageField::None;
    std::string message;
    bool Ok() const { return field == ReportPageField::None; }
};

ReportPageCheck ValidateReportPageSize(int columns, int linesPerPage, int pages);

}  // namespace qs
