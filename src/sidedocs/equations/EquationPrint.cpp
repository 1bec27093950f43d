#include "sidedocs/equations/EquationPrint.h"

namespace qs {

std::string EquationPrint::Header(const std::string& title, const std::string& when) {
    return title + " - Printed " + when + " ";
}

PrintSheet EquationPrint::Print(const std::string& header, const std::vector<std::string>& texts) {
    PrintSheet sheet(kTopLine);
    sheet.Skip(-kTopLine);
    sheet.AddLine(header, kTopLine);
    for (const std::string& text : texts) {
        sheet.BreakIfPast(kPageLines - 1);
        sheet.AddLine(text);
    }
    return sheet;
}

}  // namespace qs
