#pragma once
#include <wx/docview.h>

#include "sidedocs/carddb/CDatabase.h"

namespace qs {

struct UiServices;

// The card database as the document manager sees it: new, open, save and the question about
// unsaved changes, over the core database. Its messages go through the services of the main
// window it lives in.
class CDatabaseWxDoc : public wxDocument {
    wxDECLARE_DYNAMIC_CLASS(CDatabaseWxDoc);

public:
    CDatabaseWxDoc() = default;

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
    const UiServices& Services() const;

    CDatabase core_;
};

}  // namespace qs
