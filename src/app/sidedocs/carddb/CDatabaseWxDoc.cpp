#include "app/sidedocs/carddb/CDatabaseWxDoc.h"

#include <wx/utils.h>

#include "app/common/SaveChangesPrompt.h"
#include "app/shell/CPowerDocTemplate.h"
#include "appmodel/common/AppServices.h"

namespace qs {

wxIMPLEMENT_CLASS(CDatabaseWxDoc, wxDocument);

bool CDatabaseWxDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) return false;
    CPowerDocTemplate::NameNewDocument(*this);
    core_.OnNewDocument();
    return true;
}

bool CDatabaseWxDoc::OnSaveModified() { return AskToSaveChanges(*this, services_.ui); }

bool CDatabaseWxDoc::DoOpenDocument(const wxString& file) {
    wxBusyCursor wait;
    return core_.Load(file.utf8_string(), services_.ui);
}

bool CDatabaseWxDoc::DoSaveDocument(const wxString& file) {
    wxBusyCursor wait;
    return core_.Save(file.utf8_string(), services_.ui);
}

}  // namespace qs
