#include "app/common/DeviceDocumentHost.h"

#include <wx/app.h>
#include <wx/window.h>

#include "link/DX3Protocol.h"

namespace qs {

DeviceLinkSource DeviceDocumentHost::LinkSource() {
    return [this](bool requireOnline) {
        CVexa3Doc* doc = ChooseDeviceDocument();
        if (!doc) return DeviceLink{};
        DX3Protocol* protocol = GetConnectedProtocol(doc, requireOnline);
        if (!protocol) return DeviceLink{};
        return DeviceLink{doc, protocol};
    };
}

DeviceDocumentHost* DeviceDocumentHost::Of(wxWindow* window) {
    for (wxWindow* w = window; w != nullptr; w = w->GetParent()) {
        if (auto* host = dynamic_cast<DeviceDocumentHost*>(w)) return host;
    }
    return wxTheApp ? dynamic_cast<DeviceDocumentHost*>(wxTheApp->GetTopWindow()) : nullptr;
}

}  // namespace qs
