#pragma once
#include <string>

#include <wx/print.h>

#include "platform/PrintSheet.h"

namespace qs {

// Prints a sheet of lines laid out by the model: each page headed with the document's path
// and the time of printing, the lines at their positions in text heights.
class CSheetPrintout : public wxPrintout {
public:
    // "%s - %s": the path (empty for a document never saved) and "%B %d, %Y %H:%M ". Without
    // `pageHeader` the sheet brings its own headers and the pages get none from here.
    CSheetPrintout(std::string path, PrintSheet sheet, int codePage, bool pageHeader = true);

    static std::string HeaderText(const std::string& path, const wxDateTime& when);

    bool HasPage(int page) override { return page >= 1 && page <= pages_; }
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool OnPrintPage(int page) override;

private:
    std::string header_;
    PrintSheet sheet_;
    int codePage_;
    int pages_ = 1;
};

}  // namespace qs
