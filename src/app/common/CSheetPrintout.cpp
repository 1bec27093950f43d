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

wxPrintDialogData CSheetPrintout::AllPages(wxPrintout& printout) {
    int minPage = 1, maxPage = 1, from = 1, to = 1;
    printout.GetPageInfo(&minPage, &maxPage, &from, &to);
    wxPrintDialogData data;
    data.SetAllPages(true);
    data.EnablePageNumbers(false);
    data.EnableSelection(false);
    data.SetMinPage(minPage);
    data.SetMaxPage(maxPage);
    data.SetFromPage(minPage);
    data.SetToPage(maxPage);
    return data;
}

bool CSheetPrintout::PrintAll(wxWindow* parent, wxPrintout& printout) {
    wxPrintDialogData data = AllPages(printout);
    wxPrinter printer(&data);
    return printer.Print(parent, &printout, true);
}

void CSheetPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *pageFrom = 1;
    *maxPage = *pageTo = pages_;
}

bool CSheetPrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (!dc) return false;
    // About 66 lines of 10-point text to a page. Fitted to the page the printer reports: a page
    // setup without a paper size (a default one) scales by zero.
    FitThisSizeToPage(wxSize(800, 1100));
    dc->SetFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
    const int height = dc->GetCharHeight();
    if (!header_.empty()) dc->DrawText(ToWx(header_), 0, height * 1);
    if (font_.IsOk()) {
        wxFont lines = font_;
        lines.SetPointSize(10);
        dc->SetFont(lines);
    }
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
