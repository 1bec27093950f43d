#include "app/shell/CPowerDocTemplate.h"

#include <vector>

#include <wx/filedlg.h>
#include <wx/filename.h>

#include "appmodel/common/AppServices.h"
#include "platform/UiServices.h"

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

wxString CPowerDocTemplate::WithDefaultExtension(const wxString& path) const {
    const wxFileName name(path);
    if (path.empty() || name.HasExt() || GetDefaultExtension().empty()) return path;
    return path + "." + GetDefaultExtension();
}

wxString CPowerDocTemplate::ChooseSavePath(wxDocument& doc) {
    wxString directory = GetDirectory();
    if (directory.empty()) directory = wxPathOnly(doc.GetFilename());
    if (directory.empty()) directory = GetDocumentManager()->GetLastDirectory();
    const wxString name = wxFileNameFromPath(doc.GetFilename());
    if (chooseSavePath_) return chooseSavePath_(doc, directory, name);
    return wxFileSelector("Save As", directory, name, GetDefaultExtension(),
                          GetDescription() + " (" + GetFileFilter() + ")|" + GetFileFilter(),
                          wxFD_SAVE | wxFD_OVERWRITE_PROMPT, doc.GetDocumentWindow());
}

bool CPowerDocTemplate::SaveDocumentAs(wxDocument& doc) {
    wxString path;
    for (;;) {
        const wxString chosen = ChooseSavePath(doc);
        if (chosen.empty()) return false;
        path = WithDefaultExtension(chosen);
        if (path == chosen || !wxFileName::FileExists(path)) break;
        if (!services_) return false;
        const std::string question =
            wxFileNameFromPath(path).utf8_string() + " already exists.\nDo you want to replace it?";
        if (services_->ui.Message(question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) break;
    }
    if (!doc.OnSaveDocument(path)) return false;
    doc.SetTitle(wxFileNameFromPath(path));
    doc.SetFilename(path, true);
    // Only a file this kind opens again is offered in the recent-file list.
    if (FileMatchesTemplate(path)) GetDocumentManager()->AddFileToHistory(path);
    return true;
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
