#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sidedocs/equations/CEquation.h"

namespace qs {

class CEquationDoc;

// The editor's list of lines: one item text per line of the set, in the set's order, and the
// current line. Every operation changes the list and the set alike; the window only shows
// the texts and where the current line is.
class EquationEditList {
public:
    static constexpr const char* kFullText = "Cannot add any more equation lines... maximum reached";
    // An item whose line does not make a line of its destination any more.
    static constexpr const char* kInvalidText = "?";

    explicit EquationEditList(CEquationDoc& doc);

    const std::vector<std::string>& Texts() const { return texts_; }
    size_t Size() const { return texts_.size(); }
    std::optional<size_t> Current() const { return current_; }
    // Out of range: no current line.
    void SetCurrent(std::optional<size_t> row);
    const CEquation* CurrentLine() const;
    bool Full() const;
    bool Modified() const { return modified_; }
    void ClearModified() { modified_ = false; }

    // Every line checked again, as the line dialog checks it; a line that fails shows "?".
    void Rebuild();

    // Puts `line` after the current line (first when there is none) and makes it current;
    // false, and the line dropped, when the set is full.
    bool Insert(std::unique_ptr<CEquation> line);
    // The current line takes the edited fields and text.
    void ReplaceCurrent(const CEquation& edited);
    void DeleteCurrent();
    bool MoveUp();
    bool MoveDown();

    // The current line as a clipboard block ("" without one).
    std::string Copy() const;
    // Copy, then the line leaves the list and the set.
    std::string Cut();
    enum class PasteResult { kPasted, kFull, kUnreadable };
    // A line made from a clipboard block, checked as the line dialog checks it (shown as "?"
    // when it fails), put where Insert puts it.
    PasteResult Paste(std::string_view block);

private:
    // The line text a dialog would build for `line`, or "?" when it fails its check.
    std::string CheckedText(CEquation& line) const;
    void Swap(size_t a, size_t b);

    CEquationDoc& doc_;
    std::vector<std::string> texts_;
    std::optional<size_t> current_;
    bool modified_ = false;
};

}  // namespace qs
