#include "app/sidedocs/translations/CTranslationWxDoc.h"

#include "app/common/SaveChangesPrompt.h"
#include "app/shell/CPowerDocTemplate.h"
#include "appmodel/common/AppServices.h"

namespace qs {

wxIMPLEMENT_CLASS(CTranslationWxDoc, wxDocument);

bool CTranslationWxDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) return false;
    core_ = CTranslation();
    CPowerDocTemplate::NameNewDocument(*this);
    return true;
}

bool CTranslationWxDoc::OnSaveModified() { return AskToSaveChanges(*this, services_.ui); }

bool CTranslationWxDoc::DoOpenDocument(const wxString& file) { return core_.Load(file.utf8_string(), services_.ui); }

bool CTranslationWxDoc::DoSaveDocument(const wxString& file) { return core_.Save(file.utf8_string(), services_.ui); }

}  // namespace qs
