#pragma once
#include <string>

#include <wx/docview.h>

namespace qs {

// A document template that can redraw every open document of its kind (after the application
// options changed) and names new documents as the program always has: a base ("NEW_",
// "Report", ...) and a number counting up from 1.
class CPowerDocTemplate : public wxDocTemplate {
public:
    CPowerDocTemplate(int resourceId, wxDocManager* manager, const wxString& description, const wxString& filter,
                      const wxString& extension, const wxString& docTypeName, const wxString& newNameBase,
                      wxClassInfo* docClass, wxClassInfo* viewClass, long flags = wxTEMPLATE_VISIBLE);

    int ResourceId() const { return resourceId_; }
    // Whether documents of this kind can be made yet.
    bool IsAvailable() const { return GetDocClassInfo() != nullptr; }

    // UpdateAllViews on every open document of this template.
    void UpdateAllDocuments();
    // The next name for a new document: "NEW_1", "NEW_2", ...
    wxString NextNewName();

private:
    int resourceId_;
    wxString newNameBase_;
    int newCount_ = 0;
};

}  // namespace qs
