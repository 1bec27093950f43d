#include "app/shell/CPowerDocTemplate.h"

#include <vector>

namespace qs {

CPowerDocTemplate::CPowerDocTemplate(int resourceId, wxDocManager* manager, const wxString& description,
                                     const wxString& filter, const wxString& extension, const wxString& docTypeName,
                                     const wxString& newNameBase, wxClassInfo* docClass, wxClassInfo* viewClass,
                                     long flags)
    : wxDocTemplate(manager, description, filter, wxString(), extension, docTypeName, docTypeName, docClass, viewClass,
                    flags),
      resourceId_(resourceId),
      newNameBase_(newNameBase) {}

void CPowerDocTemplate::UpdateAllDocuments() {
    // The list is copied: a view's update may show a box that lets documents come and go.
    std::vector<wxObject*> docs;
    for (wxObject* object : GetDocumentManager()->GetDocuments()) docs.push_back(object);
    for (wxObject* object : docs) {
        auto* doc = static_cast<wxDocument*>(object);
        if (doc->GetDocumentTemplate() == this) doc->UpdateAllViews();
    }
}

wxDocument* CPowerDocTemplate::DoCreateDocument() {
    if (!factory_) return wxDocTemplate::DoCreateDocument();
    return services_ ? factory_(*services_) : nullptr;
}

wxString CPowerDocTemplate::NextNewName() { return wxString::Format("%s%d", newNameBase_, ++newCount_); }

wxDocument* CPowerDocTemplate::MakeNewDocument() {
    if (!IsAvailable()) return nullptr;
    wxDocument* doc = CreateDocument(wxString(), wxDOC_NEW);
    if (!doc) return nullptr;
    doc->SetDocumentName(GetDocumentName());
    if (!doc->OnNewDocument()) {
        doc->DeleteAllViews();
        return nullptr;
    }
    return doc;
}

void CPowerDocTemplate::NameNewDocument(wxDocument& doc) {
    auto* power = dynamic_cast<CPowerDocTemplate*>(doc.GetDocumentTemplate());
    if (!power) return;
    const wxString name = power->NextNewName();
    doc.SetTitle(name);
    doc.SetFilename(name, true);
}

}  // namespace qs
