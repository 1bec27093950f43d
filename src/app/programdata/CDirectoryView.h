#pragma once
#include <optional>
#include <string>
#include <vector>

#include <wx/docview.h>
#include <wx/timer.h>
#include <wx/treectrl.h>

#include "appmodel/programdata/DirectoryTreeModel.h"

namespace qs {

class CSplitterFrame;
class CVexa3WxDoc;

// The directory tree of a program-data document, the left pane of its frame: built from the
// document's counts (and only rebuilt when they change), its selection written to the frame,
// and program codes copied, pasted and dragged between items of the same kind in the
// "QuillsetIIIXData" format. The document template's view: making it makes the frame.
class CDirectoryView : public wxView {
    wxDECLARE_DYNAMIC_CLASS(CDirectoryView);

public:
    // Largest clipboard or drop block read: far more records than a document holds.
    static constexpr size_t kMaxTransferBytes = 16u << 20;

    CDirectoryView() = default;
    ~CDirectoryView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    void OnDraw(wxDC*) override {}
    bool OnClose(bool deleteWindow) override;
    // The document's windows are titled together (numbered while there are several).
    void OnChangeFilename() override;

    // Made by the frame as its left pane.
    wxTreeCtrl* CreateTree(wxWindow* parent, CSplitterFrame& frame);
    wxTreeCtrl* Tree() const { return tree_; }
    CSplitterFrame* Frame() const { return frame_; }
    const TreeLayout& Layout() const { return layout_; }
    // The item showing a node of the layout.
    wxTreeItemId ItemOf(int node) const;
    int NodeOf(const wxTreeItemId& item) const;

    bool CanCopy() const;
    void Copy();
    bool CanPaste() const;
    void Paste();
    // Stores the records of a block on an item (paste or drop).
    bool PasteOnto(const wxTreeItemId& item, const std::string& data, bool drop);

    // Drag support, also used by the drop target.
    bool DragFits(const wxTreeItemId& target) const;
    void HoverOver(const wxTreeItemId& item);
    void EndHover();

private:
    CVexa3WxDoc* Document() const;
    void Rebuild();
    TreeTarget TargetOf(const wxTreeItemId& item) const;
    void OnSelectionChanged(wxTreeEvent& event);
    void OnBeginDrag(wxTreeEvent& event);
    void OnPopup(wxTreeEvent& event);
    void OnKeyDown(wxTreeEvent& event);
    void OnHoverTimer(wxTimerEvent& event);

    wxTreeCtrl* tree_ = nullptr;
    CSplitterFrame* frame_ = nullptr;
    std::optional<DirectoryTreeModel> model_;  // made with the view's document
    TreeLayout layout_;
    std::vector<wxTreeItemId> items_;
    bool rebuilding_ = false;
    bool initialUpdateDone_ = false;
    wxTimer hover_;
    wxTreeItemId hoverItem_;
};

}  // namespace qs
