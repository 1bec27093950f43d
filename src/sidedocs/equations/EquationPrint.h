#pragma once
#include <string>
#include <vector>

#include "platform/PrintSheet.h"

namespace qs {

// The printed equation set: a header line at the top of the first page, then the list's texts
// one per line from four lines down, a new page once a page holds 55 lines' height.
class EquationPrint {
public:
    static constexpr int kTopLine = 4;
    static constexpr int kPageLines = 55;

    // "<title> - Printed <when> ", `when` already formatted.
    static std::string Header(const std::string& title, const std::string& when);
    static PrintSheet Print(const std::string& header, const std::vector<std::string>& texts);
};

}  // namespace qs
