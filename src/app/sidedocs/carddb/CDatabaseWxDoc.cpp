#include "app/sidedocs/carddb/CDatabaseWxDoc.h"

#include <wx/utils.h>

#include "app/common/SaveChangesPrompt.h"
#include "app/shell/CPowerDocTemplate.h"
#include "app/sidedocs/SideDocumentHost.h"
#include "platform/UiServices.h"

namespace qs {

wxIMPLEMENT_DYNAMIC_CLASS(CDatabaseWxDoc, wxDocument);

const UiServices& CDatabaseWxDoc::Services() const {
    wxView* view = GetFirstView();
    return SideDocumentHost::ServicesOf(view ? view->GetFrame() : nullptr);
}

bool CDatabaseWxDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) return false;
    if (auto* power = dynamic_cast<CPowerDocTemplate*>(GetDocumentTemplate())) {
        const wxString name = power->NextNewName();
        SetTitle(name);
        SetFilename(name, true);
    }
    core_.OnNewDocument();
    return true;
}

bool CDatabaseWxDoc::OnSaveModified() {
    return AskToSaveChanges(*this, Services());
}

bool CDatabaseWxDoc::DoOpenDocument(const wxString& file) {
    wxBusyCursor wait;
    return core_.Load(file.utf8_string(), Services());
}

bool CDatabaseWxDoc::DoSaveDocument(const wxString& file) {
    wxBusyCursor wait;
    return core_.Save(file.utf8_string(), Services());
}

}  // namespace qs
