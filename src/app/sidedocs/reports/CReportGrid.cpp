#include "app/sidedocs/reports/CReportGrid.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <wx/dataobj.h>
#include <wx/dcbuffer.h>
#include <wx/dnd.h>
#include <wx/menu.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include "app/common/CodePageFont.h"
#include "app/common/CodePageText.h"
#include "app/sidedocs/reports/CReportDropTarget.h"
#include "app/sidedocs/reports/CReportView.h"
#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportClipboardBlock.h"
#include "sidedocs/reports/ReportItem.h"

namespace qs {

namespace {

const wxColour kPressedBackground(20, 20, 125);

}  // namespace

CReportGrid::CReportGrid(wxWindow* parent, CReportView& view, ReportEditor& editor)
    : wxScrolledCanvas(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                       wxHSCROLL | wxVSCROLL | wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE),
      view_(view),
      editor_(editor) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    SetDropTarget(new CReportDropTarget(*this, view));
    Bind(wxEVT_PAINT, &CReportGrid::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CReportGrid::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CReportGrid::OnLeftDown, this);
    Bind(wxEVT_MOTION, &CReportGrid::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CReportGrid::OnLeftUp, this);
    Bind(wxEVT_RIGHT_DOWN, &CReportGrid::OnRightDown, this);
    Bind(wxEVT_KEY_DOWN, &CReportGrid::OnKeyDown, this);
    Bind(wxEVT_CHAR, &CReportGrid::OnChar, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
        pressed_ = nullptr;
        Refresh();
    });
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
        // The entry that had the focus gets it back; when it is gone, the first does.
        if (!editor_.Focused()) editor_.Focus(editor_.NextAfter(nullptr));
        view_.ShowPosition();
        Refresh();
        e.Skip();
    });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
        Refresh();
        e.Skip();
    });
}

CReportGrid::~CReportGrid() {
    if (HasCapture()) ReleaseMouse();
}

void CReportGrid::SetCharset(int charset) {
    charset_ = charset;
    SetFont(CodePageFont(charset));
    if (!measured_) {
        wxClientDC dc(this);
        dc.SetFont(GetFont());
        const wxSize m = dc.GetTextExtent("M");
        editor_.SetCellSize(m.x, m.y);
        measured_ = true;
    }
    Relayout();
    Refresh();
}

void CReportGrid::Relayout() {
    const CReport& report = editor_.Report();
    SetScrollRate(editor_.CellWidth(), editor_.CellHeight());
    // The last cell's entries reach two pixels past it.
    SetVirtualSize(report.GridColumns() * editor_.CellWidth() + 2, report.GridLines() * editor_.CellHeight() + 2);
}

void CReportGrid::FocusItem(ReportItem* item) {
    editor_.Focus(item);
    if (ReportItem* focused = editor_.Focused()) {
        const ReportItemRect r = editor_.RectOf(*focused);
        int x0 = 0, y0 = 0, ux = 1, uy = 1;
        GetViewStart(&x0, &y0);
        GetScrollPixelsPerUnit(&ux, &uy);
        const wxSize shown = GetClientSize();
        const int left = x0 * std::max(ux, 1), top = y0 * std::max(uy, 1);
        int toX = -1, toY = -1;
        if (r.x < left || r.x + r.width > left + shown.x) toX = r.x / std::max(ux, 1);
        if (r.y < top || r.y + r.height > top + shown.y) toY = r.y / std::max(uy, 1);
        if (toX >= 0 || toY >= 0) Scroll(toX, toY);
    }
    view_.ShowPosition();
    Refresh();
}

std::optional<ReportCell> CReportGrid::CellAt(const wxPoint& client) const {
    const wxPoint p = CalcUnscrolledPosition(client);
    return editor_.CellAt(p.x, p.y);
}

ReportItem* CReportGrid::ItemAt(const wxPoint& client) const {
    const wxPoint p = CalcUnscrolledPosition(client);
    return editor_.ItemAt(p.x, p.y);
}

ReportCell CReportGrid::OriginCell() const {
    const wxPoint p = CalcUnscrolledPosition(wxPoint(0, 0));
    return ReportCell{p.y / editor_.CellHeight(), p.x / editor_.CellWidth()};
}

std::optional<ReportCell> CReportGrid::DropCell(const wxPoint& client) const {
    if (ItemAt(client)) return std::nullopt;
    const auto cell = CellAt(client);
    return editor_.CanDrop(cell) ? cell : std::nullopt;
}

// ---------------------------------------------------------------- drawing

void CReportGrid::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    DoPrepareDC(dc);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    dc.SetFont(GetFont());
    int x0 = 0, y0 = 0;
    CalcUnscrolledPosition(0, 0, &x0, &y0);
    const wxSize shown = GetClientSize();
    const wxRect visible(x0, y0, shown.x, shown.y);
    const ReportItem* focused = editor_.Focused();
    const auto draw = [&](const ReportItem& item) {
        const ReportItemRect r = editor_.RectOf(item);
        if (visible.Intersects(wxRect(r.x - 3, r.y - 3, r.width + 6, r.height + 6))) DrawItem(dc, item, &item == focused);
    };
    for (const auto& item : editor_.Report().Items()) {
        if (item->Line() * editor_.CellHeight() > visible.GetBottom()) break;
        draw(*item);
    }
    if (const ReportItem* pending = editor_.Pending()) draw(*pending);
}

void CReportGrid::DrawItem(wxDC& dc, const ReportItem& item, bool focused) {
    const ReportItemRect r = editor_.RectOf(item);
    const wxRect rect(r.x, r.y, r.width, r.height);
    const bool pressed = &item == pressed_;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(pressed ? kPressedBackground : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.DrawRectangle(rect);
    if (pressed || focused) {
        dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(rect);
    }
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    if (pressed) dc.SetTextForeground(*wxWHITE);
    dc.DrawLabel(FromCodePage(item.Text(), charset_), rect, wxALIGN_CENTER);
    if (focused && HasFocus()) wxRendererNative::Get().DrawFocusRect(this, dc, wxRect(rect).Inflate(3));
}

// ---------------------------------------------------------------- mouse

void CReportGrid::OnLeftDown(wxMouseEvent& e) {
    SetFocus();
    ReportItem* item = ItemAt(e.GetPosition());
    if (!item) return;
    FocusItem(item);
    if (e.ButtonDClick()) {
        view_.EditItem(item);
        return;
    }
    pressed_ = item;
    downAt_ = e.GetPosition();
    if (!HasCapture()) CaptureMouse();
    Refresh();
}

void CReportGrid::OnMotion(wxMouseEvent& e) {
    if (!pressed_ || !e.LeftIsDown()) return;
    // Deleted while the button was held (from the keyboard): nothing is left to drag.
    if (pressed_ != editor_.Focused()) {
        Release();
        return;
    }
    const wxPoint moved = e.GetPosition() - downAt_;
    const int dx = std::max(wxSystemSettings::GetMetric(wxSYS_DRAG_X, this), 1);
    const int dy = std::max(wxSystemSettings::GetMetric(wxSYS_DRAG_Y, this), 1);
    if (std::abs(moved.x) < dx && std::abs(moved.y) < dy) return;
    ReportItem* item = pressed_;
    Release();
    StartDrag(*item);
}

void CReportGrid::OnLeftUp(wxMouseEvent&) {
    ReportItem* item = pressed_;
    Release();
    if (item && item == editor_.Focused()) view_.EditItem(item);
}

void CReportGrid::Release() {
    pressed_ = nullptr;
    if (HasCapture()) ReleaseMouse();
    Refresh();
}

void CReportGrid::StartDrag(ReportItem& item) {
    const auto drag = editor_.BeginDrag(item);
    if (!drag) return;
    Refresh();
    Update();
    auto* block = new wxCustomDataObject(wxDataFormat(ReportClipboardBlock::kFormatName));
    block->SetData(drag->block.size(), drag->block.data());
    wxDataObjectComposite data;
    data.Add(block, true);
    data.Add(new wxTextDataObject(FromCodePage(drag->plain, charset_)));
    wxDropSource source(data, this);
    const wxDragResult result = source.DoDragDrop(wxDrag_AllowMove);
    editor_.EndDrag(result == wxDragMove);
    view_.Changed();
}

void CReportGrid::OnRightDown(wxMouseEvent& e) {
    std::unique_ptr<wxMenu> menu(MakeContextMenu(e.GetPosition()));
    if (!menu) return;
    wxPoint at = e.GetPosition();
    if (const ReportItem* item = editor_.Focused(); item && ItemAt(at) == item) {
        // The entry's menu opens at its right edge and top.
        const ReportItemRect r = editor_.RectOf(*item);
        at = CalcScrolledPosition(wxPoint(r.x + r.width, r.y));
    }
    PopupMenu(menu.get(), at);
}

wxMenu* CReportGrid::MakeContextMenu(const wxPoint& client) {
    if (ReportItem* item = ItemAt(client)) {
        SetFocus();
        FocusItem(item);
        auto* menu = new wxMenu;
        menu->Append(CReportView::ID_EDIT_ITEM, "&Properties...");
        menu->Append(ID_EDIT_CUT, "Cu&t");
        menu->Append(ID_EDIT_COPY, "&Copy");
        return menu;
    }
    const auto cell = CellAt(client);
    if (!cell) return nullptr;
    SetFocus();
    menuCell_ = cell;
    auto* menu = new wxMenu;
    menu->Append(CReportView::ID_INSERT_HERE, "&Insert New Here...");
    menu->Append(CReportView::ID_PASTE_HERE, "&Paste Here");
    menu->AppendSeparator();
    char position[48];
    std::snprintf(position, sizeof position, "{Line %d, Col %d}", cell->line + 1, cell->column + 1);
    menu->Append(CReportView::ID_MENU_POSITION, position);
    menu->Enable(CReportView::ID_MENU_POSITION, false);
    return menu;
}

// ---------------------------------------------------------------- keys

void CReportGrid::OnKeyDown(wxKeyEvent& e) {
    switch (e.GetKeyCode()) {
    case WXK_TAB:
        FocusItem(editor_.NextAfter(editor_.Focused()));
        return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        view_.EditItem();
        return;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        view_.DeleteItem();
        return;
    case WXK_INSERT:
    case WXK_NUMPAD_INSERT:
        view_.InsertNew(ReportCell{});
        return;
    default:
        e.Skip();
    }
}

void CReportGrid::OnChar(wxKeyEvent& e) {
    if (e.AltDown() && e.GetUnicodeKey() == '.') {
        view_.DeleteItem();
        return;
    }
    if (e.AltDown() && e.GetUnicodeKey() == '-') {
        view_.InsertNew(ReportCell{});
        return;
    }
    e.Skip();
}

}  // namespace qs
