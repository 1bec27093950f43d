#include "app/shell/CConnectBar.h"

#include "app/shell/CommandIds.h"

namespace qs {

CConnectBar::CConnectBar(wxWindow* parent, bool colour, bool toolTips)
    : CIconToolBar(parent, ID_CONNECT_BAR, ConnectButtons(), colour, toolTips) {}

std::vector<CIconToolBar::Button> CConnectBar::ConnectButtons() {
    return {
        {ID_GO_ONLINE, ToolIcon::kGoOnline, "Go Online"},
        {ID_GO_OFFLINE, ToolIcon::kGoOffline, "Go Offline"},
    };
}

}  // namespace qs
