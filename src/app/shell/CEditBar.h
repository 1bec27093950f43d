#pragma once
#include "app/shell/CIconToolBar.h"

namespace qs {

// The "Edit" toolbar: reading and writing the device's program codes, and the window commands.
class CEditBar : public CIconToolBar {
public:
    CEditBar(wxWindow* parent, bool colour, bool toolTips);
    static std::vector<Button> EditButtons();
};

}  // namespace qs
