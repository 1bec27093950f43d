#include "app/sidedocs/SideDocumentHost.h"

#include <wx/app.h>
#include <wx/window.h>

#include "platform/UiServices.h"

namespace qs {

SideDocumentHost* SideDocumentHost::Of(const wxWindow* window) {
    for (const wxWindow* w = window; w; w = w->GetParent()) {
        if (auto* host = dynamic_cast<SideDocumentHost*>(const_cast<wxWindow*>(w))) return host;
    }
    return wxTheApp ? dynamic_cast<SideDocumentHost*>(wxTheApp->GetTopWindow()) : nullptr;
}

const UiServices& SideDocumentHost::ServicesOf(const wxWindow* window) {
    if (SideDocumentHost* host = Of(window)) return host->SideServices();
    // Nothing to show boxes or progress in: every member takes its fallback.
    static const UiServices none;
    return none;
}

}  // namespace qs
