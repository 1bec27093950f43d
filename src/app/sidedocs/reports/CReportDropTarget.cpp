#include "app/sidedocs/reports/CReportDropTarget.h"

#include <algorithm>
#include <string>

#include <wx/utils.h>

#include "app/sidedocs/reports/CReportGrid.h"
#include "app/sidedocs/reports/CReportView.h"
#include "sidedocs/reports/ReportClipboardBlock.h"

namespace qs {

CReportDropTarget::CReportDropTarget(CReportGrid& grid, CReportView& view)
    : grid_(grid),
      view_(view),
      data_(new wxDataObjectComposite),
      block_(new wxCustomDataObject(wxDataFormat(ReportClipboardBlock::kFormatName))),
      text_(new wxTextDataObject) {
    data_->Add(block_, true);
    data_->Add(text_);
    SetDataObject(data_);
}

wxDragResult CReportDropTarget::OnEnter(wxCoord x, wxCoord y, wxDragResult def) { return OnDragOver(x, y, def); }

wxDragResult CReportDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult) {
    const auto cell = grid_.DropCell(wxPoint(x, y));
    if (!cell) return wxDragNone;
    view_.ShowCell(*cell);
    return wxGetKeyState(WXK_CONTROL) ? wxDragCopy : wxDragMove;
}

wxDragResult CReportDropTarget::OnData(wxCoord x, wxCoord y, wxDragResult) {
    const auto cell = grid_.DropCell(wxPoint(x, y));
    if (!cell || !GetData()) return wxDragNone;
    bool placed = false;
    if (data_->GetReceivedFormat() == block_->GetFormat()) {
        const size_t size = std::min(block_->GetSize(), ReportClipboardBlock::kSize);
        placed = view_.Drop(*cell, std::string(static_cast<const char*>(block_->GetData()), size), {});
    } else {
        placed = view_.Drop(*cell, {}, text_->GetText());
    }
    if (!placed) return wxDragNone;
    return wxGetKeyState(WXK_CONTROL) ? wxDragCopy : wxDragMove;
}

}  // namespace qs
