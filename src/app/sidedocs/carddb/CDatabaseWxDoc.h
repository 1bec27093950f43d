#pragma once
#include <wx/docview.h>

#include "sidedocs/carddb/CDatabase.h"

namespace qs {

struct AppServices;

// The card database as the document manager sees it: new, open, save and the question about
// unsaved changes, over the core database. Its template makes it with the application's
// services (see CPowerDocTemplate), through which its messages go.
class CDatabaseWxDoc : public wxDocument {
    wxDECLARE_CLASS(CDatabaseWxDoc);

public:
    explicit CDatabaseWxDoc(const AppServices& services) : services_(services) {}
    CDatabaseWxDoc(const CDatabaseWxDoc&) = delete;
    CDatabaseWxDoc& operator=(const CDatabaseWxDoc&) = delete;

    const AppServices& Services() const { return services_; }
    CDatabase& Core() { return core_; }
    const CDatabase& Core() const { return core_; }

    // Named as the template names new documents ("DDB_1", ...), and "New Database" inside.
    bool OnNewDocument() override;
    // "Save changes to <title>?" with Yes, No and Cancel.
    bool OnSaveModified() override;

protected:
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    const AppServices& services_;
    CDatabase core_;
};

}  // namespace qs
