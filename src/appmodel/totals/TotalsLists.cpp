#include "appmodel/totals/TotalsLists.h"

#include <algorithm>

namespace qs {

namespace {

TotalsList WithQuantities(const char* first) {
    TotalsList list;
    list.columns.push_back({first, 70, true});
    for (const char* heading : TotalsLists::kQuantityHeadings) list.columns.push_back({heading, 72, false});
    return list;
}

}  // namespace

TotalsLists::TotalsLists() {
    lists_[kProducts] = WithQuantities("Product");
    lists_[kRecipes] = WithQuantities("Recipe");
    lists_[kAdditives].columns = {{"Additive", 70, true}, {"Volume", 72, false}};
}

void TotalsLists::InsertRow(Which which, size_t index, std::vector<std::string> cells) {
    TotalsList& list = lists_[which];
    cells.resize(list.columns.size());
    const size_t at = std::min(index, list.rows.size());
    list.rows.insert(list.rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(cells));
    Changed(which);
}

void TotalsLists::Insert(Which which, size_t index, const std::string& first) { InsertRow(which, index, {first}); }

void TotalsLists::InsertFilled(Which which, size_t index, const std::string& text) {
    InsertRow(which, index, std::vector<std::string>(lists_[which].columns.size(), text));
}

void TotalsLists::SetCell(Which which, size_t row, size_t column, const std::string& text) {
    TotalsList& list = lists_[which];
    if (row >= list.rows.size() || column >= list.rows[row].size()) return;
    list.rows[row][column] = text;
    Changed(which);
}

void TotalsLists::SetStatus(const std::string& text) {
    status_ = text;
    Changed(-1);
}

void TotalsLists::Changed(int which) const {
    if (changed) changed(which);
}

}  // namespace qs
