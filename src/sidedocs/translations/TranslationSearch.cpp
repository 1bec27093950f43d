#include "sidedocs/translations/TranslationSearch.h"

namespace qs {

std::optional<int> TranslationSearch::Find(int kind, bool backward, int focused,
                                           const std::function<bool(int row)>& matches) {
    const int step = backward ? -1 : 1;
    switch (kind) {
    case kFromStart: position_ = backward ? rows_ - 1 : 0; break;
    case kFromCursor: position_ = focused; break;
    case kNext: position_ += step; break;
    default: return std::nullopt;
    }
    for (int row = position_; row >= 0 && row < rows_; row += step) {
        if (matches(row)) {
            position_ = row;
            return row;
        }
    }
    return std::nullopt;
}

}  // namespace qs
