#include "sidedocs/equations/EquationEditList.h"

#include <utility>

#include "sidedocs/equations/CEquationDoc.h"
#include "sidedocs/equations/EquationClipboardBlock.h"
#include "sidedocs/equations/EquationLineForm.h"

namespace qs {

EquationEditList::EquationEditList(CEquationDoc& doc) : doc_(doc) { Rebuild(); }

void EquationEditList::SetCurrent(std::optional<size_t> row) {
    current_ = row && *row < texts_.size() ? row : std::nullopt;
}

const CEquation* EquationEditList::CurrentLine() const {
    return current_ ? doc_.Lines()[*current_].get() : nullptr;
}

bool EquationEditList::Full() const { return doc_.Lines().size() >= CEquationDoc::kMaxLines; }

std::string EquationEditList::CheckedText(CEquation& line) const {
    EquationLineForm form(&line, doc_.Context());
    line.text = form.Valid() ? form.LineText() : kInvalidText;
    return line.text;
}

void EquationEditList::Rebuild() {
    texts_.clear();
    for (const auto& line : doc_.Lines()) texts_.push_back(CheckedText(*line));
    SetCurrent(current_);
}

bool EquationEditList::Insert(std::unique_ptr<CEquation> line) {
    if (Full() || !line) return false;
    const size_t at = current_ ? *current_ + 1 : 0;
    texts_.insert(texts_.begin() + static_cast<std::ptrdiff_t>(at), line->text);
    doc_.Lines().insert(doc_.Lines().begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    current_ = at;
    modified_ = true;
    return true;
}

void EquationEditList::ReplaceCurrent(const CEquation& edited) {
    if (!current_) return;
    *doc_.Lines()[*current_] = edited;
    texts_[*current_] = edited.text;
    modified_ = true;
}

void EquationEditList::DeleteCurrent() {
    if (!current_) return;
    const auto at = static_cast<std::ptrdiff_t>(*current_);
    texts_.erase(texts_.begin() + at);
    doc_.Lines().erase(doc_.Lines().begin() + at);
    current_.reset();
    modified_ = true;
}

void EquationEditList::Swap(size_t a, size_t b) {
    std::swap(texts_[a], texts_[b]);
    std::swap(doc_.Lines()[a], doc_.Lines()[b]);
    current_ = b;
    modified_ = true;
}

bool EquationEditList::MoveUp() {
    if (!current_ || *current_ == 0) return false;
    Swap(*current_, *current_ - 1);
    return true;
}

bool EquationEditList::MoveDown() {
    if (!current_ || *current_ + 1 >= texts_.size()) return false;
    Swap(*current_, *current_ + 1);
    return true;
}

std::string EquationEditList::Copy() const {
    const CEquation* line = CurrentLine();
    return line ? EquationClipboardBlock::Encode(*line) : std::string();
}

std::string EquationEditList::Cut() {
    std::string block = Copy();
    DeleteCurrent();
    return block;
}

EquationEditList::PasteResult EquationEditList::Paste(std::string_view block) {
    if (Full()) return PasteResult::kFull;
    std::unique_ptr<CEquation> line = EquationClipboardBlock::Decode(block);
    if (!line) return PasteResult::kUnreadable;
    CheckedText(*line);
    Insert(std::move(line));
    return PasteResult::kPasted;
}

}  // namespace qs
