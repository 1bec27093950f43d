#pragma once
#include <functional>
#include <optional>

namespace qs {

// Where the translation editor's Find looks next, row by row over the literal table, in the
// direction the find dialog asks. The editor gives the test of one row (the literal first, then
// its translation) and keeps the position between requests.
class TranslationSearch {
public:
    // The find dialog's requests.
    enum Kind : int { kOpened = 1, kFromStart = 2, kNext = 3, kFromCursor = 4 };

    explicit TranslationSearch(int rows) : rows_(rows) {}

    // Runs one request: `focused` is the list's focused row (-1 when none), `backward` the
    // dialog's direction. Returns the first matching row, which becomes the position; nullopt
    // when none matched before the first or last row was passed (or the start lay outside the
    // rows). Kind 1 and unknown kinds search nothing and return nullopt without moving.
    std::optional<int> Find(int kind, bool backward, int focused, const std::function<bool(int row)>& matches);

    int Position() const { return position_; }

private:
    int rows_;
    int position_ = 0;
};

}  // namespace qs
