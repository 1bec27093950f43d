#include "sidedocs/translations/TranslationRevisions.h"

#include <algorithm>

#include "sidedocs/translations/LiteralData.h"

namespace qs {

std::span<const int> TranslationRevisions::EditList(size_t row) {
    if (row >= kRows.size()) return {};
    for (size_t i = 0; i < literal_data::kRevisionEditCount; ++i) {
        const literal_data::RevisionEdits& e = literal_data::kRevisionEdits[i];
        if (e.revision == kRows[row]) return {e.edits, e.count};
    }
    return {};
}

void TranslationRevisions::ApplyEditList(std::vector<std::string>& texts, std::span<const int> edits) {
    // Positions are signed: removals step the running position back, even below the start.
    const long n = static_cast<long>(texts.size());
    long a = 0;
    size_t e = 0;
    for (long j = 0; j <= n; ++j, ++a) {
        while (e < edits.size()) {
            const long edit = edits[e];
            if (edit == 0) {
                e += 2;
            } else if (edit == j) {
                const long at = std::clamp(a, 0L, static_cast<long>(texts.size()));
                texts.insert(texts.begin() + at, std::string());
                a = at + 1;
                ++e;
            } else if (edit == -j) {
                if (a >= 0 && a < static_cast<long>(texts.size())) {
                    texts.erase(texts.begin() + a);
                    --a;
                }
                ++e;
            } else {
                break;
            }
        }
        if (e >= edits.size()) return;
    }
}

}  // namespace qs
