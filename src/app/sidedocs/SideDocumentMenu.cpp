#include "app/sidedocs/SideDocumentMenu.h"

#include <wx/app.h>
#include <wx/docview.h>
#include <wx/frame.h>
#include <wx/menu.h>

namespace qs {

void SideDocumentMenu::Update(wxView& view, const char* title, wxMenu* (*create)(), bool removing,
                              const std::function<bool(const wxView*)>& sameKind) {
    auto* parent = wxDynamicCast(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxFrame);
    wxMenuBar* bar = parent ? parent->GetMenuBar() : nullptr;
    if (!bar) return;
    const int at = bar->FindMenu(wxStripMenuCodes(title));
    if (!removing) {
        if (at != wxNOT_FOUND) return;
        const int window = bar->FindMenu("Window");
        if (window != wxNOT_FOUND) bar->Insert(static_cast<size_t>(window), create(), title);
        else bar->Append(create(), title);
        return;
    }
    if (at == wxNOT_FOUND) return;
    wxDocManager* manager = view.GetDocumentManager();
    for (wxDocument* doc : manager ? manager->GetDocumentsVector() : wxDocVector()) {
        for (wxView* other : doc->GetViewsVector()) {
            if (other != &view && sameKind(other)) return;
        }
    }
    delete bar->Remove(static_cast<size_t>(at));
}

}  // namespace qs
