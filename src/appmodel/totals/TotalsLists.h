#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace qs {

// One column of a totals list: its heading, its width in pixels and its side.
struct TotalsColumn {
    std::string heading;
    int width = 72;
    bool left = false;
};

// A list of the totals window: columns and rows of cell texts (every row as wide as the
// columns).
struct TotalsList {
    std::vector<TotalsColumn> columns;
    std::vector<std::vector<std::string>> rows;
};

// What the non-resettable totals window shows: the products of each arm with the arms' totals,
// the additives, the recipes, and a status text. The reader fills it; the window shows each
// change as it comes (`changed`).
class TotalsLists {
public:
    enum Which { kProducts, kAdditives, kRecipes };
    static constexpr int kQuantities = 5;
    // The five quantities in column order, and the letter the totals command names each by.
    static constexpr const char* kQuantityHeadings[kQuantities] = {"IV", "GV", "GST", "GSV", "Mass"};
    static constexpr char kQuantityLetters[kQuantities] = {'R', 'G', 'N', 'P', 'M'};
    static constexpr const char* kFirstStatus = "Retrieving totals from Duravane...";

    TotalsLists();

    const TotalsList& List(Which which) const { return lists_[which]; }
    const std::string& Status() const { return status_; }

    // A row of empty cells with `first` in the first column, at `index` (clamped to the rows
    // there are).
    void Insert(Which which, size_t index, const std::string& first);
    // A row whose every cell is `text`.
    void InsertFilled(Which which, size_t index, const std::string& text);
    void InsertRow(Which which, size_t index, std::vector<std::string> cells);
    // One cell; a row or column that is not there is left alone.
    void SetCell(Which which, size_t row, size_t column, const std::string& text);
    void SetStatus(const std::string& text);

    // Told of every change: the list (or -1 for the status).
    std::function<void(int which)> changed;

private:
    void Changed(int which) const;

    TotalsList lists_[3];
    std::string status_ = kFirstStatus;
};

}  // namespace qs
