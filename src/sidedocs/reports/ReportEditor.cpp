#include "sidedocs/reports/ReportEditor.h"

#include <algorithm>
#include <cstdio>

#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportClipboardBlock.h"
#include "sidedocs/reports/ReportItem.h"
#include "sidedocs/reports/ReportItemTokens.h"

namespace qs {

ReportEditor::ReportEditor(CReport& report, ReportItemTokens& tokens) : report_(report), tokens_(tokens) {}

ReportEditor::~ReportEditor() {
    // A drag still under way when the window goes: the entry goes back where it was.
    if (dragged_) EndDrag(false);
}

void ReportEditor::SetCellSize(int width, int height) {
    cellWidth_ = std::max(width, 1);
    cellHeight_ = std::max(height, 1);
}

std::optional<ReportCell> ReportEditor::CellAt(int x, int y) const {
    if (x < 0 || y < 0) return std::nullopt;
    const ReportCell cell{y / cellHeight_, x / cellWidth_};
    if (cell.column >= report_.GridColumns() || cell.line >= report_.GridLines()) return std::nullopt;
    return cell;
}

ReportItemRect ReportEditor::RectOf(const ReportItem& item) const {
    // Pixel sizes are computed wide: a cell far down a long report is beyond an int's reach
    // only when multiplied carelessly.
    const auto length = static_cast<int64_t>(std::max<size_t>(item.Text().size(), 1));
    const auto clampInt = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, INT32_MAX / 2)); };
    return ReportItemRect{clampInt(int64_t{item.Column()} * cellWidth_), clampInt(int64_t{item.Line()} * cellHeight_),
                          clampInt(length * cellWidth_ + 2), cellHeight_ + 2};
}

ReportItem* ReportEditor::ItemAt(int x, int y) const {
    if (pending_ && RectOf(*pending_).Contains(x, y)) return pending_.get();
    const auto& items = report_.Items();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        // Entries are ordered by line: everything above this line is out of reach.
        if ((*it)->Line() < y / cellHeight_ - 1) break;
        if (RectOf(**it).Contains(x, y)) return it->get();
    }
    return nullptr;
}

std::string ReportEditor::PositionText(ReportCell cell) {
    char text[48];
    std::snprintf(text, sizeof text, "Line: %3.3d  Col: %3.3d", cell.line + 1, cell.column + 1);
    return text;
}

std::string ReportEditor::PositionText(const ReportItem& item) {
    return PositionText(ReportCell{item.Line(), item.Column()});
}

bool ReportEditor::Contains(const ReportItem* item) const {
    if (!item) return false;
    if (item == pending_.get()) return true;
    const auto& items = report_.Items();
    return std::any_of(items.begin(), items.end(), [item](const auto& i) { return i.get() == item; });
}

ReportItem* ReportEditor::Focused() const { return Contains(focused_) ? focused_ : nullptr; }

void ReportEditor::Focus(ReportItem* item) { focused_ = Contains(item) ? item : nullptr; }

ReportItem* ReportEditor::NextAfter(const ReportItem* item) const {
    const auto& items = report_.Items();
    if (items.empty()) return nullptr;
    const auto at = std::find_if(items.begin(), items.end(), [item](const auto& i) { return i.get() == item; });
    if (at == items.end() || at + 1 == items.end()) return items.front().get();
    return (at + 1)->get();
}

ReportItem& ReportEditor::BeginInsert(ReportCell cell) {
    pending_ = std::make_unique<ReportItem>(cell.line, cell.column, ReportItem::kNewItemText);
    focused_ = pending_.get();
    return *pending_;
}

ReportItem* ReportEditor::Place(std::unique_ptr<ReportItem> item) {
    ReportItem* placed = report_.InsertItemInOrder(std::move(item));
    report_.SetModified();
    focused_ = placed;
    return placed;
}

void ReportEditor::CommitProperties(ReportItem& item) {
    if (&item == pending_.get()) {
        Place(std::move(pending_));
        return;
    }
    // Its cell may have changed: it goes back in at its place in the order.
    if (auto taken = report_.RemoveItem(&item)) Place(std::move(taken));
}

void ReportEditor::CancelProperties(ReportItem& item) {
    if (&item != pending_.get()) return;
    pending_.reset();
    focused_ = NextAfter(nullptr);
}

bool ReportEditor::DeleteFocused() {
    ReportItem* item = Focused();
    if (!item) return false;
    if (item == pending_.get()) {
        CancelProperties(*item);
        return true;
    }
    ReportItem* next = NextAfter(item);
    report_.RemoveItem(item);
    report_.SetModified();
    focused_ = next == item ? nullptr : next;
    return true;
}

std::optional<std::string> ReportEditor::Copy(bool cut) {
    ReportItem* item = Focused();
    if (!item || item == pending_.get()) return std::nullopt;
    auto copy = std::make_unique<ReportItem>(item->Line(), item->Column(), *item);
    const ReportItem& kept = *copy;
    const uint32_t token = tokens_.Keep(std::move(copy));
    std::string block = ReportClipboardBlock::Of(kept, token).Encode();
    if (cut) DeleteFocused();
    return block;
}

ReportEditor::PasteResult ReportEditor::PasteBlock(std::string_view bytes, ReportCell cell, bool mustBeFree) {
    const auto block = ReportClipboardBlock::Decode(bytes);
    if (!block) return PasteResult::kRefused;
    if (mustBeFree && report_.FindItemAt(cell.line, cell.column)) return PasteResult::kOccupied;
    Place(block->MakeItem(tokens_, cell.line, cell.column, report_.Dictionary()));
    return PasteResult::kPasted;
}

ReportEditor::PasteResult ReportEditor::PastePlain(std::string_view text, ReportCell cell, bool mustBeFree) {
    if (mustBeFree && report_.FindItemAt(cell.line, cell.column)) return PasteResult::kOccupied;
    Place(ReportClipboardBlock::ItemFromPlainText(text, cell.line, cell.column));
    return PasteResult::kPasted;
}

std::optional<ReportEditor::Drag> ReportEditor::BeginDrag(ReportItem& item) {
    if (dragged_ || &item == pending_.get()) return std::nullopt;
    dragged_ = report_.RemoveItem(&item);
    if (!dragged_) return std::nullopt;
    dragToken_ = tokens_.Lend(*dragged_);
    std::string plain = ReportClipboardBlock::PlainText(*dragged_);
    plain.resize(std::min(plain.find('\0'), plain.size()));
    return Drag{ReportClipboardBlock::Of(*dragged_, dragToken_).Encode(), std::move(plain)};
}

void ReportEditor::EndDrag(bool moved) {
    if (!dragged_) return;
    tokens_.Revoke(dragToken_);
    dragToken_ = 0;
    if (moved) {
        // The drop made the entry anew where it landed, in this report or another.
        if (focused_ == dragged_.get()) focused_ = nullptr;
        dragged_.reset();
        report_.SetModified();
        return;
    }
    ReportItem* back = report_.InsertItemInOrder(std::move(dragged_));
    focused_ = back;
}

bool ReportEditor::CanDrop(std::optional<ReportCell> cell) const {
    return cell && cell->line < report_.GridLines() && cell->column < report_.GridColumns();
}

ReportEditor::PasteResult ReportEditor::DropBlock(std::string_view block, ReportCell cell) {
    if (!CanDrop(cell)) return PasteResult::kRefused;
    return PasteBlock(block, cell, false);
}

}  // namespace qs
