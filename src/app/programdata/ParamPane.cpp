#include "app/programdata/ParamPane.h"

#include "app/programdata/CParamListView.h"
#include "app/programdata/CSplitterFrame.h"

namespace qs {

wxWindow* CreateParamPane(wxWindow* parent, CVexa3WxDoc& doc, CSplitterFrame& frame) {
    auto* list = new CParamListView(parent, doc);
    // Tab leaves the list for the frame's directory tree.
    list->SetTreeActivator([&frame] {
        if (wxWindow* tree = frame.Tree()) tree->SetFocus();
    });
    return list;
}

void ParamPaneSelectionChanged(wxWindow* pane, const FrameSelection& selection) {
    if (auto* list = dynamic_cast<CParamListView*>(pane)) list->SelectionChanged(selection);
}

}  // namespace qs
