#pragma once
#include <functional>
#include <string>

#include <wx/docview.h>

namespace qs {

struct AppServices;

// A document template that can redraw every open document of its kind (after the application
// options changed) and names new documents with a base ("NEW_",
// "Report", ...) and a number counting up from 1. Its documents are made with the
// application's services, which the main frame gives it.
class CPowerDocTemplate : public wxDocTemplate {
public:
    CPowerDocTemplate(int resourceId, wxDocManager* manager, const wxString& description, const wxString& filter,
                      const wxString& extension, const wxString& docTypeName, const wxString& newNameBase,
                      wxClassInfo* docClass, wxClassInfo* viewClass, long flags = wxTEMPLATE_VISIBLE);

    // Makes a document of this kind with the services.
    using DocumentFactory = std::function<wxDocument*(const AppServices& services)>;

    int ResourceId() const { return resourceId_; }
    void SetDocumentFactory(DocumentFactory factory) { factory_ = std::move(factory); }
    void SetServices(const AppServices* services) { services_ = services; }
    const AppServices* Services() const { return services_; }
    // Whether documents of this kind can be made yet.
    bool IsAvailable() const { return GetDocClassInfo() != nullptr; }

    // UpdateAllViews on every open document of this template.
    void UpdateAllDocuments();

    // Asks for the file to save a document under, starting in `directory` with `name`; "" when
    // the user cancels. By default the system's save dialog with this kind's filter.
    using SavePathChooser = std::function<wxString(wxDocument& doc, const wxString& directory, const wxString& name)>;
    void SetSavePathChooser(SavePathChooser chooser) { chooseSavePath_ = std::move(chooser); }
    // Save As for a document of this kind. A name without an extension gets this kind's, and a
    // file already there under the name so made is replaced only when the user says so (the
    // dialog asked about the name as typed). False when cancelled or not saved.
    bool SaveDocumentAs(wxDocument& doc);
    // "test1" -> "test1.D3X"; a name with an extension of its own keeps it.
    wxString WithDefaultExtension(const wxString& path) const;
    // The next name for a new document: "NEW_1", "NEW_2", ...
    wxString NextNewName();
    // A new document of this kind, named as the kind names new ones, with its windows; null when
    // the kind does not exist yet or the document could not be made.
    wxDocument* MakeNewDocument();
    // Gives a new document of such a template its title and file name, the next new name.
    static void NameNewDocument(wxDocument& doc);

protected:
    // By the factory when there is one (null while the template has no services yet).
    wxDocument* DoCreateDocument() override;

private:
    wxString ChooseSavePath(wxDocument& doc);

    DocumentFactory factory_;
    SavePathChooser chooseSavePath_;
    const AppServices* services_ = nullptr;
    int resourceId_;
    wxString newNameBase_;
    int newCount_ = 0;
};

}  // namespace qs
