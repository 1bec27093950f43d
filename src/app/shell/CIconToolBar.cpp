#include "app/shell/CIconToolBar.h"

#include "app/shell/CommandIds.h"

namespace qs {

CIconToolBar::CIconToolBar(wxWindow* parent, wxWindowID id, std::vector<Button> buttons, bool colour, bool toolTips)
    : wxAuiToolBar(parent, id, wxDefaultPosition, wxDefaultSize, wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_PLAIN_BACKGROUND),
      buttons_(std::move(buttons)),
      colour_(colour),
      toolTips_(toolTips) {
    for (const Button& b : buttons_) {
        if (b.id == 0) {
            AddSeparator();
            continue;
        }
        AddTool(b.id, b.label, DrawToolIcon(b.icon, colour_), toolTips_ ? wxString(b.label) : wxString());
    }
    Realize();
}

void CIconToolBar::SetColour(bool colour) {
    colour_ = colour;
    for (const Button& b : buttons_) {
        if (b.id != 0) SetToolBitmap(b.id, DrawToolIcon(b.icon, colour_));
    }
    Refresh();
}

std::vector<CIconToolBar::Button> CIconToolBar::StandardButtons() {
    return {
        {ID_FILE_NEW, ToolIcon::kNew, "New"},      {ID_FILE_OPEN, ToolIcon::kOpen, "Open"},
        {ID_FILE_SAVE, ToolIcon::kSave, "Save"},   {0, ToolIcon::kNew, ""},
        {ID_EDIT_CUT, ToolIcon::kCut, "Cut"},      {ID_EDIT_COPY, ToolIcon::kCopy, "Copy"},
        {ID_EDIT_PASTE, ToolIcon::kPaste, "Paste"},
    };
}

}  // namespace qs
