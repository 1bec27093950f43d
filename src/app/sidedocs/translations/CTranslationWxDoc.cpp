#include "app/sidedocs/translations/CTranslationWxDoc.h"

#include <wx/app.h>

#include "app/common/DeviceDocumentHost.h"
#include "app/common/SaveChangesPrompt.h"
#include "app/shell/CPowerDocTemplate.h"

namespace qs {

wxIMPLEMENT_DYNAMIC_CLASS(CTranslationWxDoc, wxDocument);

const UiServices& CTranslationWxDoc::Services() const {
    wxView* view = GetFirstView();
    const DeviceDocumentHost* host = DeviceDocumentHost::Of(view ? view->GetFrame() : nullptr);
    return host ? host->Services() : fallback_;
}

bool CTranslationWxDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) return false;
    core_ = CTranslation();
    // Named as the program names new documents of each kind ("Lang1", "Lang2", ...).
    if (auto* power = dynamic_cast<CPowerDocTemplate*>(GetDocumentTemplate())) {
        const wxString name = power->NextNewName();
        SetTitle(name);
        SetFilename(name, true);
    }
    return true;
}

bool CTranslationWxDoc::OnSaveModified() { return AskToSaveChanges(*this, Services()); }

bool CTranslationWxDoc::DoOpenDocument(const wxString& file) {
    return core_.Load(file.utf8_string(), Services());
}

bool CTranslationWxDoc::DoSaveDocument(const wxString& file) {
    return core_.Save(file.utf8_string(), Services());
}

}  // namespace qs
