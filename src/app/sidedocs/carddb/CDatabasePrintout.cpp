#include "app/sidedocs/carddb/CDatabasePrintout.h"

#include <wx/dc.h>

#include "app/common/CSheetPrintout.h"
#include "app/common/CodePageText.h"
#include "app/common/WxText.h"

namespace qs {

CDatabasePrintout::CDatabasePrintout(const std::string& title, const CDatabase& database)
    : wxPrintout("Quillset"),
      header_(CSheetPrintout::HeaderText(title, wxDateTime::Now())),
      cells_(database.PrintLayout()) {
    if (!cells_.empty()) pages_ = cells_.back().page + 1;
}

void CDatabasePrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *pageFrom = 1;
    *maxPage = *pageTo = pages_;
}

bool CDatabasePrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (!dc) return false;
    // Fitted to the page the printer reports: a page setup without a paper size scales by zero.
    FitThisSizeToPage(wxSize(800, 1100));
    dc->SetFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
    const wxSize m = dc->GetTextExtent("M");
    if (page == 1) dc->DrawText(ToWx(header_), 0, 1);
    for (const CardPrintCell& cell : cells_) {
        if (cell.page + 1 != page) continue;
        dc->DrawText(FromCodePage(cell.text, 0), m.x * CDatabase::kPrintColumnWidth * cell.column, m.y * cell.line);
    }
    return true;
}

}  // namespace qs
