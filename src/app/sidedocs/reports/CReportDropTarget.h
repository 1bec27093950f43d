#pragma once
#include <wx/dnd.h>

namespace qs {

class CReportGrid;
class CReportView;

// Report entries and plain text dropped on a report's grid: taken on a free cell of the grid,
// as a copy while Ctrl is held and as a move otherwise, and refused anywhere else.
class CReportDropTarget : public wxDropTarget {
public:
    CReportDropTarget(CReportGrid& grid, CReportView& view);

    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override;
    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override;
    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override;

private:
    CReportGrid& grid_;
    CReportView& view_;
    wxDataObjectComposite* data_;
    wxCustomDataObject* block_;
    wxTextDataObject* text_;
};

}  // namespace qs
