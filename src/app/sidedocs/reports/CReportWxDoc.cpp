#include "app/sidedocs/reports/CReportWxDoc.h"

#include "app/shell/CPowerDocTemplate.h"

namespace qs {

wxIMPLEMENT_CLASS(CReportWxDoc, wxDocument);

bool CReportWxDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) return false;
    core_.OnNewDocument();
    CPowerDocTemplate::NameNewDocument(*this);
    return true;
}

}  // namespace qs
