#include "app/shell/CEditBar.h"

#include "app/shell/CommandIds.h"

namespace qs {

CEditBar::CEditBar(wxWindow* parent, bool colour, bool toolTips)
    : CIconToolBar(parent, ID_EDIT_BAR, EditButtons(), colour, toolTips) {}

std::vector<CIconToolBar::Button> CEditBar::EditButtons() {
    return {
        {ID_READ_SELECTION, ToolIcon::kReadSelection, "Read Selection"},
        {ID_READ_ALL, ToolIcon::kReadAll, "Read All"},
        {0, ToolIcon::kNew, ""},
        {ID_DUMP_SELECTION, ToolIcon::kDumpSelection, "Dump Selection"},
        {ID_DUMP_ALL, ToolIcon::kDumpAll, "Dump All"},
        {0, ToolIcon::kNew, ""},
        {ID_WINDOW_NEW, ToolIcon::kNewWindow, "New Window"},
        {0, ToolIcon::kNew, ""},
        {ID_WINDOW_CASCADE, ToolIcon::kCascade, "Cascade"},
        {ID_WINDOW_TILE_HORZ, ToolIcon::kTileHorizontally, "Tile Horizontally"},
        {ID_WINDOW_TILE_VERT, ToolIcon::kTileVertically, "Tile Vertically"},
    };
}

}  // namespace qs
