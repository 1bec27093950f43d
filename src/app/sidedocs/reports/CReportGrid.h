#pragma once
#include <optional>
#include <string>

#include <wx/scrolwin.h>

#include "sidedocs/reports/ReportEditor.h"

class wxMenu;

namespace qs {

class CReportView;

// The report's page grid: every entry drawn as a small button at its cell, in the font of the
// report's character set, one cell as wide and high as "M". A click on an entry opens its
// properties; pressing it and moving past the system's drag threshold drags it (a move, or a
// copy with Ctrl held); a right click opens the entry's or the grid's menu. Tab, Enter,
// Delete and Insert act on the focused entry (Alt+"." and Alt+"-" as well, where the desktop
// leaves Alt to the window).
class CReportGrid : public wxScrolledCanvas {
public:
    CReportGrid(wxWindow* parent, CReportView& view, ReportEditor& editor);
    ~CReportGrid() override;

    // The font of `charset`; the cell size is measured in it only the first time, so the grid
    // keeps its cells when the character set changes.
    void SetCharset(int charset);
    int Charset() const { return charset_; }
    // The scrolled size from the report's grid.
    void Relayout();
    // Gives `item` the focus, scrolls it into view and shows its position.
    void FocusItem(ReportItem* item);

    // The grid's cell at a point of the window; nullopt outside the grid.
    std::optional<ReportCell> CellAt(const wxPoint& client) const;
    ReportItem* ItemAt(const wxPoint& client) const;
    // The top-left cell in view.
    ReportCell OriginCell() const;
    // Where a drop at `client` would land: nullopt outside the grid or over an entry.
    std::optional<ReportCell> DropCell(const wxPoint& client) const;

    // The menus a right click opens (null when it opens none); the cell of the last right
    // click on the grid.
    wxMenu* MakeContextMenu(const wxPoint& client);
    std::optional<ReportCell> MenuCell() const { return menuCell_; }

private:
    void OnPaint(wxPaintEvent&);
    void OnLeftDown(wxMouseEvent&);
    void OnMotion(wxMouseEvent&);
    void OnLeftUp(wxMouseEvent&);
    void OnRightDown(wxMouseEvent&);
    void OnKeyDown(wxKeyEvent&);
    void OnChar(wxKeyEvent&);
    void StartDrag(ReportItem& item);
    void Release();
    void DrawItem(wxDC& dc, const ReportItem& item, bool focused);

    CReportView& view_;
    ReportEditor& editor_;
    int charset_ = -1;
    bool measured_ = false;
    ReportItem* pressed_ = nullptr;
    wxPoint downAt_;
    std::optional<ReportCell> menuCell_;
};

}  // namespace qs
