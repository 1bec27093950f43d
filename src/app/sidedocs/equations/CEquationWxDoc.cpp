#include "app/sidedocs/equations/CEquationWxDoc.h"

#include "app/shell/CPowerDocTemplate.h"

namespace qs {

wxIMPLEMENT_CLASS(CEquationWxDoc, wxDocument);

bool CEquationWxDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) return false;
    core_.Lines().clear();
    core_.SetSetName({});
    core_.SetDisableFlag(0);
    CPowerDocTemplate::NameNewDocument(*this);
    return true;
}

}  // namespace qs
