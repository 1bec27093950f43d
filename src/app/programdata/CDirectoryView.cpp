#include "app/programdata/CDirectoryView.h"

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcmemory.h>
#include <wx/dnd.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/utils.h>

#include "app/shell/CErrorLogView.h"
#include "app/shell/CMainFrame.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/programdata/CVexa3WxDoc.h"
#include "app/shell/CommandIds.h"
#include "app/common/CodePageText.h"
#include "appmodel/common/AppServices.h"
#include "programdata/AppOptions.h"
#include "programdata/CDirectory.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

wxIMPLEMENT_DYNAMIC_CLASS(CDirectoryView, wxView);

namespace {

constexpr int kImageCount = 19;

// What was copied and dragged last, by kind only: the item itself may be gone by the paste.
TreeItemKey g_lastCopied;
TreeItemKey g_lastDragged;

wxDataFormat TransferFormat() { return wxDataFormat(DirectoryTreeModel::kClipboardFormat); }

class NodeData : public wxTreeItemData {
public:
    explicit NodeData(int node) : node(node) {}
    int node;
};

// Directories as folders, subdirectories as pages, in a colour per directory type; the arms
// past those in use in grey.
wxImageList* MakeImages() {
    static const wxColour colours[] = {{0x40, 0x60, 0xA0}, {0x80, 0x40, 0xA0}, {0x20, 0x80, 0x40}, {0xC0, 0x70, 0x10},
                                       {0xB0, 0x30, 0x30}, {0x20, 0x80, 0x90}, {0x70, 0x70, 0x20}, {0x50, 0x50, 0x90}};
    auto* images = new wxImageList(16, 16, true, kImageCount);
    for (int i = 0; i < kImageCount; ++i) {
        wxBitmap bitmap(16, 16);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            const bool inactive = i >= 16;
            const wxColour c = inactive ? wxColour(0xA0, 0xA0, 0xA0) : colours[i % 8];
            dc.SetPen(wxPen(c.ChangeLightness(60)));
            dc.SetBrush(wxBrush(c));
            if (i < 8 || inactive) {
                dc.DrawRectangle(1, 4, 14, 10);
                dc.DrawRectangle(1, 2, 6, 3);
            } else {
                dc.SetBrush(wxBrush(c.ChangeLightness(170)));
                dc.DrawRectangle(3, 1, 10, 14);
                dc.SetPen(wxPen(c));
                for (int y = 4; y < 13; y += 3) dc.DrawLine(5, y, 11, y);
            }
        }
        images->Add(bitmap, *wxWHITE);
    }
    return images;
}

// Drops of program codes onto the tree's items.
class TreeDropTarget : public wxDropTarget {
public:
    explicit TreeDropTarget(CDirectoryView& view)
        : wxDropTarget(new wxCustomDataObject(TransferFormat())), view_(view) {}

    wxDragResult OnEnter(wxCoord x, wxCoord y, wxDragResult def) override {
        if (CSplitterFrame* f = view_.Frame()) f->Activate();
        return OnDragOver(x, y, def);
    }
    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult) override {
        int flags = 0;
        const wxTreeItemId item = view_.Tree()->HitTest(wxPoint(x, y), flags);
        if (!item.IsOk() || !(flags & wxTREE_HITTEST_ONITEM)) {
            view_.EndHover();
            return wxDragNone;
        }
        view_.HoverOver(item);
        return view_.DragFits(item) ? wxDragCopy : wxDragNone;
    }
    void OnLeave() override { view_.EndHover(); }
    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override {
        view_.EndHover();
        if (!GetData()) return wxDragNone;
        int flags = 0;
        const wxTreeItemId item = view_.Tree()->HitTest(wxPoint(x, y), flags);
        if (!item.IsOk()) return wxDragNone;
        auto* data = static_cast<wxCustomDataObject*>(GetDataObject());
        const size_t size = std::min(data->GetSize(), CDirectoryView::kMaxTransferBytes);
        std::string bytes(static_cast<const char*>(data->GetData()), size);
        return view_.PasteOnto(item, bytes, true) ? def : wxDragNone;
    }

private:
    CDirectoryView& view_;
};

}  // namespace

CDirectoryView::~CDirectoryView() { hover_.Stop(); }

CVexa3WxDoc* CDirectoryView::Document() const { return dynamic_cast<CVexa3WxDoc*>(GetDocument()); }

bool CDirectoryView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    CMainFrame* main = CMainFrame::Instance();
    auto* d = dynamic_cast<CVexa3WxDoc*>(doc);
    if (!main || !d) return false;
    model_.emplace(d->Services().ui);
    auto* frame = new CSplitterFrame(d, this, main);
    SetFrame(frame);
    d->RetitleWindows();
    frame->Show();
    return true;
}

void CDirectoryView::OnChangeFilename() {
    if (CVexa3WxDoc* doc = Document()) doc->RetitleWindows();
}

wxTreeCtrl* CDirectoryView::CreateTree(wxWindow* parent, CSplitterFrame& frame) {
    frame_ = &frame;
    tree_ = new wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(170, 60),
                           wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxTR_HIDE_ROOT);
    tree_->AssignImageList(MakeImages());
    tree_->Bind(wxEVT_TREE_SEL_CHANGED, &CDirectoryView::OnSelectionChanged, this);
    tree_->Bind(wxEVT_TREE_BEGIN_DRAG, &CDirectoryView::OnBeginDrag, this);
    tree_->Bind(wxEVT_TREE_ITEM_MENU, &CDirectoryView::OnPopup, this);
    tree_->Bind(wxEVT_TREE_KEY_DOWN, &CDirectoryView::OnKeyDown, this);
    tree_->SetDropTarget(new TreeDropTarget(*this));
    hover_.SetOwner(tree_, DirectoryTreeModel::kHoverTimerId);
    tree_->Bind(wxEVT_TIMER, &CDirectoryView::OnHoverTimer, this, DirectoryTreeModel::kHoverTimerId);
    return tree_;
}

bool CDirectoryView::OnClose(bool deleteWindow) {
    // One of several windows on the document (Window > New Window) closes alone; the last one
    // closes the document.
    bool others = false;
    if (wxDocument* doc = GetDocument()) {
        for (wxObject* object : doc->GetViews()) {
            if (object != this && dynamic_cast<CErrorLogView*>(object) == nullptr) others = true;
        }
    }
    if (!others && !wxView::OnClose(deleteWindow)) return false;
    hover_.Stop();
    Activate(false);
    return true;
}

void CDirectoryView::OnUpdate(wxView*, wxObject*) {
    CVexa3WxDoc* doc = Document();
    if (!doc || !tree_ || !model_) return;
    if (model_->Refresh(doc->Core())) Rebuild();
    else if (frame_) frame_->RefreshPane();
    if (initialUpdateDone_) return;
    initialUpdateDone_ = true;
    // A document opened from its file goes online by itself when the option says so (a new
    // one is connected by the command that made it), once its window is up.
    if (!doc->GetDocumentSaved() || !doc->Services().options.AutoConnect) return;
    wxWeakRef<wxWindow> frame(GetFrame());
    wxTheApp->CallAfter([frame] {
        auto* child = dynamic_cast<wxDocChildFrameAnyBase*>(frame.get());
        if (!child || !child->GetView()) return;
        auto* d = dynamic_cast<CVexa3WxDoc*>(child->GetDocument());
        if (!d || d->Core().State() != CVexa3Doc::kStateNoComm) return;
        wxBusyCursor wait;
        d->Core().Connect(false);
    });
}

void CDirectoryView::Rebuild() {
    CVexa3WxDoc* doc = Document();
    rebuilding_ = true;
    layout_ = DirectoryTreeModel::Build(doc->Core(), model_->Counts());
    tree_->Freeze();
    tree_->DeleteAllItems();
    const wxTreeItemId root = tree_->AddRoot("");
    items_.assign(layout_.nodes.size(), wxTreeItemId());
    for (size_t i = 0; i < layout_.nodes.size(); ++i) {
        const TreeNode& n = layout_.nodes[i];
        const wxTreeItemId parent = n.parent >= 0 ? items_[static_cast<size_t>(n.parent)] : root;
        items_[i] = tree_->AppendItem(parent, FromCodePage(n.text, doc->Core().CodePage()), n.image, n.image,
                                      new NodeData(static_cast<int>(i)));
    }
    tree_->Enable(layout_.enabled);
    if (!items_.empty()) {
        tree_->EnsureVisible(items_[0]);
        if (layout_.enabled) tree_->Expand(items_[0]);
    }
    if (layout_.selectNode >= 0) tree_->SelectItem(items_[static_cast<size_t>(layout_.selectNode)]);
    tree_->Thaw();
    rebuilding_ = false;
    if (frame_) frame_->SetSelection(layout_.selection);
}

wxTreeItemId CDirectoryView::ItemOf(int node) const {
    return node >= 0 && node < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(node)] : wxTreeItemId();
}

int CDirectoryView::NodeOf(const wxTreeItemId& item) const {
    if (!item.IsOk() || !tree_) return -1;
    auto* data = dynamic_cast<NodeData*>(tree_->GetItemData(item));
    return data ? data->node : -1;
}

TreeTarget CDirectoryView::TargetOf(const wxTreeItemId& item) const {
    return DirectoryTreeModel::TargetOf(layout_.nodes, NodeOf(item));
}

void CDirectoryView::OnSelectionChanged(wxTreeEvent& event) {
    if (rebuilding_ || !frame_) return;
    const int node = NodeOf(event.GetItem());
    if (node < 0) return;
    frame_->SetSelection(DirectoryTreeModel::SelectionOf(DirectoryTreeModel::TargetOf(layout_.nodes, node)));
}

// ---------------------------------------------------------------- clipboard

bool CDirectoryView::CanCopy() const {
    const TreeTarget t = tree_ ? TargetOf(tree_->GetSelection()) : TreeTarget{};
    if (!t.directory) return false;
    return t.subdirectory != nullptr || !t.directory->InstancesAsSubdirectories();
}

void CDirectoryView::Copy() {
    if (!CanCopy()) return;
    const wxTreeItemId item = tree_->GetSelection();
    const TreeTarget t = TargetOf(item);
    const std::string records = DirectoryTreeModel::CollectRecords(Document()->Core(), t, true);
    wxClipboardLocker lock;
    if (!lock) return;
    auto* data = new wxCustomDataObject(TransferFormat());
    // Nothing collected still replaces what was there: an older copy must not be pasted.
    data->SetData(records.size(), records.data());
    wxTheClipboard->SetData(data);
    g_lastCopied = records.empty() ? TreeItemKey{} : TreeItemKey::Of(t);
}

bool CDirectoryView::CanPaste() const {
    // The clipboard itself is asked only when pasting: asking the display on every update of
    // the menus would stall them.
    if (!tree_ || !g_lastCopied.valid) return false;
    return DirectoryTreeModel::Compatible(g_lastCopied, TreeItemKey::Of(TargetOf(tree_->GetSelection())));
}

void CDirectoryView::Paste() {
    if (!tree_) return;
    std::string bytes;
    {
        wxClipboardLocker lock;
        if (!lock || !wxTheClipboard->IsSupported(TransferFormat())) return;
        wxCustomDataObject data(TransferFormat());
        if (!wxTheClipboard->GetData(data)) return;
        bytes.assign(static_cast<const char*>(data.GetData()), std::min(data.GetSize(), kMaxTransferBytes));
    }
    PasteOnto(tree_->GetSelection(), bytes, false);
}

bool CDirectoryView::PasteOnto(const wxTreeItemId& item, const std::string& data, bool drop) {
    CVexa3WxDoc* doc = Document();
    const TreeTarget t = TargetOf(item);
    if (!doc || !t.directory || !model_) return false;
    if (model_->Paste(doc->Core(), t, data, drop) != DirectoryTreeModel::PasteOutcome::Pasted) return false;
    doc->Modify(true);
    doc->UpdateAllViews();
    return true;
}

// ---------------------------------------------------------------- drag and drop

bool CDirectoryView::DragFits(const wxTreeItemId& target) const {
    return DirectoryTreeModel::Compatible(g_lastDragged, TreeItemKey::Of(TargetOf(target)));
}

void CDirectoryView::HoverOver(const wxTreeItemId& item) {
    if (hoverItem_.IsOk() && hoverItem_ == item && hover_.IsRunning()) return;
    if (hoverItem_.IsOk() && hoverItem_ != item) tree_->SetItemDropHighlight(hoverItem_, false);
    hover_.Stop();
    hoverItem_ = item;
    tree_->SetItemDropHighlight(item, true);
    hover_.StartOnce(DirectoryTreeModel::kHoverMs);
    // The neighbours come into view, so dragging near an edge scrolls.
    const wxTreeItemId next = tree_->GetNextVisible(item);
    if (next.IsOk()) tree_->EnsureVisible(next);
    const wxTreeItemId prev = tree_->GetPrevVisible(item);
    if (prev.IsOk()) tree_->EnsureVisible(prev);
}

void CDirectoryView::EndHover() {
    hover_.Stop();
    if (hoverItem_.IsOk() && tree_) tree_->SetItemDropHighlight(hoverItem_, false);
    hoverItem_ = wxTreeItemId();
}

void CDirectoryView::OnHoverTimer(wxTimerEvent&) {
    if (!hoverItem_.IsOk()) return;
    int flags = 0;
    const wxTreeItemId under = tree_->HitTest(tree_->ScreenToClient(wxGetMousePosition()), flags);
    if (under == hoverItem_ && tree_->ItemHasChildren(hoverItem_)) tree_->Expand(hoverItem_);
}

void CDirectoryView::OnBeginDrag(wxTreeEvent& event) {
    const wxTreeItemId item = event.GetItem();
    const TreeTarget t = TargetOf(item);
    if (!t.directory) return;
    const std::string records = DirectoryTreeModel::CollectRecords(Document()->Core(), t, false);
    wxCustomDataObject data(TransferFormat());
    data.SetData(records.size(), records.data());
    g_lastDragged = TreeItemKey::Of(t);
    tree_->UnsetToolTip();
    wxDropSource source(data, tree_);
    source.DoDragDrop(wxDrag_CopyOnly);
    EndHover();
    g_lastDragged = TreeItemKey{};
}

// ---------------------------------------------------------------- keys and menu

void CDirectoryView::OnPopup(wxTreeEvent& event) {
    if (event.GetItem().IsOk()) tree_->SelectItem(event.GetItem());
    wxMenu menu;
    menu.Append(ID_EDIT_COPY, "&Copy");
    menu.Append(ID_EDIT_PASTE, "&Paste");
    menu.Enable(ID_EDIT_COPY, CanCopy());
    menu.Enable(ID_EDIT_PASTE, CanPaste());
    const int chosen = tree_->GetPopupMenuSelectionFromUser(menu);
    if (chosen == ID_EDIT_COPY) Copy();
    else if (chosen == ID_EDIT_PASTE) Paste();
}

void CDirectoryView::OnKeyDown(wxTreeEvent& event) {
    if (event.GetKeyCode() == WXK_TAB && frame_) {
        frame_->ActivatePane();
        return;
    }
    event.Skip();
}

}  // namespace qs
