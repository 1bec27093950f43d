#pragma once
#include <string>
#include <vector>

#include <wx/print.h>

#include "sidedocs/carddb/CDatabase.h"

namespace qs {

// Prints a card database: the title and the time of printing at the top of the first page, then
// each card's key and three fields in four columns, as the database lays them out.
class CDatabasePrintout : public wxPrintout {
public:
    CDatabasePrintout(const std::string& title, const CDatabase& database);

    const std::string& Header() const { return header_; }
    int Pages() const { return pages_; }

    bool HasPage(int page) override { return page >= 1 && page <= pages_; }
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool OnPrintPage(int page) override;

private:
    std::string header_;
    std::vector<CardPrintCell> cells_;
    int pages_ = 1;
};

}  // namespace qs
