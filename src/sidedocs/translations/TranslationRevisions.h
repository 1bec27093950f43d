#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qs {

// The program revisions whose translation files can be upgraded, oldest first, and the edit
// lists that carry a text array from each revision to the next, so that its entries line up
// with the current literal table again.
class TranslationRevisions {
public:
    static constexpr size_t kRowCount = 59;
    // 0.0 to 10.0, 10.01 to 10.21, 11.0, 11.01 to 11.26, as the files hold them (float32).
    static constexpr std::array<float, kRowCount> kRows = {
        0.0f,   1.0f,   2.0f,   3.0f,   4.0f,   5.0f,   6.0f,   7.0f,   8.0f,   9.0f,   10.0f,  10.01f,
        10.02f, 10.03f, 10.04f, 10.05f, 10.06f, 10.07f, 10.08f, 10.09f, 10.10f, 10.11f, 10.12f, 10.13f,
        10.14f, 10.15f, 10.16f, 10.17f, 10.18f, 10.19f, 10.20f, 10.21f, 11.0f,  11.01f, 11.02f, 11.03f,
        11.04f, 11.05f, 11.06f, 11.07f, 11.08f, 11.09f, 11.10f, 11.11f, 11.12f, 11.13f, 11.14f, 11.15f,
        11.16f, 11.17f, 11.18f, 11.19f, 11.20f, 11.21f, 11.22f, 11.23f, 11.24f, 11.25f, 11.26f};

    // The row holding exactly `revision` (the first, searching from row 0); nullopt when none.
    // Inline: the literal generator checks the edit lists' revisions with it.
    static constexpr std::optional<size_t> FindRow(float revision) {
        for (size_t row = 0; row < kRows.size(); ++row) {
            if (kRows[row] == revision) return row;
        }
        return std::nullopt;
    }

    // The edit list of a row: signed positions in the older array; empty when the row has none.
    static std::span<const int> EditList(size_t row);

    // Applies one edit list to `texts`. Walks the old positions j = 0, 1, ... with a running
    // position a in the array: an edit 0 is passed over with the edit after it; an edit j
    // inserts an empty text at a, an edit -j removes the text at a; any other edit waits for its
    // j. A removal outside the array does nothing, an insertion beyond the end appends, and a
    // list that ends inside a pair is simply done.
    static void ApplyEditList(std::vector<std::string>& texts, std::span<const int> edits);
};

}  // namespace qs
