#pragma once
#include "app/shell/CIconToolBar.h"

namespace qs {

// The "Connect" toolbar: Go Online and Go Offline.
class CConnectBar : public CIconToolBar {
public:
    CConnectBar(wxWindow* parent, bool colour, bool toolTips);
    static std::vector<Button> ConnectButtons();
};

}  // namespace qs
