#include "app/sidedocs/translations/CTranslationWxDoc.h"

#include "app/shell/CPowerDocTemplate.h"

namespace qs {

wxIMPLEMENT_CLASS(CTranslationWxDoc, wxDocument);

bool CTranslationWxDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) return false;
    core_ = CTranslation();
    CPowerDocTemplate::NameNewDocument(*this);
    return true;
}

}  // namespace qs
