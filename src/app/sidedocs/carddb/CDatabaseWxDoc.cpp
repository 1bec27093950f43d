#include "app/sidedocs/carddb/CDatabaseWxDoc.h"

#include "app/shell/CPowerDocTemplate.h"

namespace qs {

wxIMPLEMENT_CLASS(CDatabaseWxDoc, wxDocument);

bool CDatabaseWxDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) return false;
    CPowerDocTemplate::NameNewDocument(*this);
    core_.OnNewDocument();
    return true;
}

}  // namespace qs
