#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qs {

class CReport;
class ReportItem;
class ReportItemTokens;

// A cell of a report's grid, counted from 0.
struct ReportCell {
    int line = 0;
    int column = 0;
};

// Where an entry is drawn on the grid, in pixels from the grid's top left.
struct ReportItemRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

// What the report editor does with the entries of one report, apart from the window that
// shows them: the grid's geometry, which entry has the focus, a new entry waiting for its
// properties, cut, copy, paste, drag and drop, deleting. Every change marks the report
// modified; the window passes that on to its document.
class ReportEditor {
public:
    static constexpr const char* kPasteOverText =
        "Cannot paste over existing item- there is already an item at view origin (top-left).";

    // `report` and `tokens` outlive the editor; the tokens are the process's, shared by every
    // report window so that an entry cut in one can be pasted in another.
    ReportEditor(CReport& report, ReportItemTokens& tokens);
    ~ReportEditor();
    ReportEditor(const ReportEditor&) = delete;
    ReportEditor& operator=(const ReportEditor&) = delete;

    CReport& Report() { return report_; }
    const CReport& Report() const { return report_; }

    // ---- geometry
    // The size of one cell in pixels; at least 1 each.
    void SetCellSize(int width, int height);
    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    // The cell under a point of the grid; nullopt outside it.
    std::optional<ReportCell> CellAt(int x, int y) const;
    // An entry covers the cells of its text (at least one) and two pixels more each way.
    ReportItemRect RectOf(const ReportItem& item) const;
    // The entry drawn at a point, the one drawn last when they overlap; null for none.
    ReportItem* ItemAt(int x, int y) const;
    // "Line: 001  Col: 001", counted from 1.
    static std::string PositionText(ReportCell cell);
    static std::string PositionText(const ReportItem& item);

    // ---- focus
    // The entry with the focus: one of the report's or the new one; null for none.
    ReportItem* Focused() const;
    void Focus(ReportItem* item);
    // The entry after `item` in the report's order, the first after the last; null when the
    // report has none.
    ReportItem* NextAfter(const ReportItem* item) const;

    // ---- a new entry: not part of the report until its properties are accepted
    ReportItem& BeginInsert(ReportCell cell);
    ReportItem* Pending() const { return pending_.get(); }
    // `item` was given its properties: a new entry joins the report; one of the report's is put
    // back in order at its (maybe new) cell. It keeps the focus.
    void CommitProperties(ReportItem& item);
    // The properties were cancelled: a new entry is dropped and the focus goes to the next
    // entry; one of the report's stays as it was.
    void CancelProperties(ReportItem& item);

    // ---- deleting, clipboard
    // Takes the focused entry out of the report; the focus goes to the next. False for none.
    bool DeleteFocused();
    // The "QuillsetReportEntry" block of the focused entry (a detached copy is kept behind its
    // token); a cut also takes the entry out. Nullopt when no entry of the report has the focus.
    std::optional<std::string> Copy(bool cut);

    enum class PasteResult { kPasted, kOccupied, kRefused };
    // A block (or, when `block` is not one, nothing) or plain text in the report's code page
    // put at `cell`; `mustBeFree` refuses a cell that already has an entry. The new entry has
    // the focus.
    PasteResult PasteBlock(std::string_view block, ReportCell cell, bool mustBeFree);
    PasteResult PastePlain(std::string_view text, ReportCell cell, bool mustBeFree);

    // ---- drag and drop
    struct Drag {
        std::string block;
        std::string plain;  // the text offered beside the block, at most 127 bytes
    };
    // Takes `item` out of the report for the length of a drag and lends it a token.
    std::optional<Drag> BeginDrag(ReportItem& item);
    // The drag ended: an entry moved elsewhere is gone; otherwise it goes back in order.
    void EndDrag(bool moved);
    bool Dragging() const { return dragged_ != nullptr; }
    // Whether something may be dropped at `cell`.
    bool CanDrop(std::optional<ReportCell> cell) const;
    // A block dropped at `cell`: the entry it names, or one made from it, as a new entry of
    // this report; a move leaves the source to take the original away.
    PasteResult DropBlock(std::string_view block, ReportCell cell);

private:
    ReportItem* Place(std::unique_ptr<ReportItem> item);
    bool Contains(const ReportItem* item) const;

    CReport& report_;
    ReportItemTokens& tokens_;
    int cellWidth_ = 8;
    int cellHeight_ = 16;
    ReportItem* focused_ = nullptr;
    std::unique_ptr<ReportItem> pending_;
    std::unique_ptr<ReportItem> dragged_;
    uint32_t dragToken_ = 0;
};

}  // namespace qs
