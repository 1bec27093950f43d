#pragma once
#include <vector>

#include <wx/aui/auibar.h>

#include "app/shell/ToolbarArt.h"

namespace qs {

// One of the main frame's toolbars: buttons with drawn pictures in colour or black and white,
// with or without tool-tips. The tool-tip choice is made when the bar is created; the colour
// can be changed while it is shown.
class CIconToolBar : public wxAuiToolBar {
public:
    struct Button {
        int id = 0;  // 0: a separator
        ToolIcon icon = ToolIcon::kNew;
        const char* label = "";
    };

    CIconToolBar(wxWindow* parent, wxWindowID id, std::vector<Button> buttons, bool colour, bool toolTips);

    // Redraws every button in the colour or the black-and-white set.
    void SetColour(bool colour);
    bool IsColour() const { return colour_; }
    bool HasToolTips() const { return toolTips_; }
    const std::vector<Button>& Buttons() const { return buttons_; }

    // The buttons of the Standard toolbar.
    static std::vector<Button> StandardButtons();

private:
    std::vector<Button> buttons_;
    bool colour_;
    bool toolTips_;
};

}  // namespace qs
