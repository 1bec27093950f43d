#include "app/sidedocs/SideDocumentHost.h"

#include <wx/app.h>
#include <wx/window.h>

#include "link/DX3Protocol.h"

namespace qs {

DeviceAccess SideDocumentHost::Access(const UiServices& ui) {
    return DeviceAccess{
        .ui = ui,
        .chooseDocument = [this] { return ChooseDeviceDocument(); },
        .connectedProtocol = [this](CVexa3Doc& document,
                                    bool requireOnline) { return GetConnectedProtocol(&document, requireOnline); },
    };
}

SideDocumentHost* SideDocumentHost::Of(const wxWindow* window) {
    for (const wxWindow* w = window; w; w = w->GetParent()) {
        if (auto* host = dynamic_cast<SideDocumentHost*>(const_cast<wxWindow*>(w))) return host;
    }
    return wxTheApp ? dynamic_cast<SideDocumentHost*>(wxTheApp->GetTopWindow()) : nullptr;
}

}  // namespace qs
