#pragma once

class wxWindow;

namespace qs {

class CSplitterFrame;
class CVexa3WxDoc;
struct FrameSelection;

// The right pane of a program-data document's frame: the program codes of what the directory
// tree has selected. The frame makes it through this function only, so the pane's class can
// change without the frame knowing it.
wxWindow* CreateParamPane(wxWindow* parent, CVexa3WxDoc& doc, CSplitterFrame& frame);

// The frame's selection changed, or the document's values did (after a transfer, a paste, a
// load): the pane shows the selection again.
void ParamPaneSelectionChanged(wxWindow* pane, const FrameSelection& selection);

}  // namespace qs
