#pragma once
#include <string>

#include "platform/PrintSheet.h"

namespace qs {

class CReport;

// The proof of a report: a heading line, then every page of the report up to the last that
// holds an entry, each entry's text at its line and column as the grid shows it.
struct ReportPrint {
    // "<path> Sample - Printed <when> "
    static std::string Header(const std::string& path, const std::string& when);
    static PrintSheet Print(const CReport& report, const std::string& header);
};

}  // namespace qs
