#include "app/common/CSheetPrintout.h"

#include <wx/dc.h>

#include "app/common/CodePageText.h"
#include "app/common/WxText.h"

namespace qs {

CSheetPrintout::CSheetPrintout(std::string path, PrintSheet sheet, int codePage, bool pageHeader)
    : wxPrintout("Quillset"),
      header_(pageHeader ? HeaderText(path, wxDateTime::Now()) : std::string()),
      sheet_(std::move(sheet)),
      codePage_(codePage) {
    pages_ = 1;
    for (const PrintItem& item : sheet_.Items())
        if (item.kind == PrintItem::Kind::PageBreak) ++pages_;
}

std::string CSheetPrintout::HeaderText(const std::string& path, const wxDateTime& when) {
    return path + " - " + when.Format("%B %d, %Y %H:%M ").utf8_string();
}

void CSheetPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *pageFrom = 1;
    *maxPage = *pageTo = pages_;
}

bool CSheetPrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (!dc) return false;
    // About 66 lines of 10-point text to a page.
    FitThisSizeToPageMargins(wxSize(800, 1100), wxPageSetupDialogData());
    dc->SetFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
    const int height = dc->GetCharHeight();
    if (!header_.empty()) dc->DrawText(ToWx(header_), 0, height * 1);
    int current = 1;
    for (const PrintItem& item : sheet_.Items()) {
        if (item.kind == PrintItem::Kind::PageBreak) {
            ++current;
            continue;
        }
        if (current == page) dc->DrawText(FromCodePage(item.text, codePage_), 0, height * item.line);
    }
    return true;
}

}  // namespace qs
