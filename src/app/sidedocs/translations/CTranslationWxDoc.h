#pragma once
#include <wx/docview.h>

#include "sidedocs/translations/CTranslation.h"

namespace qs {

struct AppServices;

// The translation as the document manager sees it: new, open, save, save as and the question
// before closing a changed one, over the core document that holds the data. Its template makes
// it with the application's services (see CPowerDocTemplate), through which its messages go.
class CTranslationWxDoc : public wxDocument {
    wxDECLARE_CLASS(CTranslationWxDoc);

public:
    explicit CTranslationWxDoc(const AppServices& services) : services_(services) {}
    CTranslationWxDoc(const CTranslationWxDoc&) = delete;
    CTranslationWxDoc& operator=(const CTranslationWxDoc&) = delete;

    const AppServices& Services() const { return services_; }
    CTranslation& Core() { return core_; }
    const CTranslation& Core() const { return core_; }

    // Named as the template names new documents ("Lang1", ...), and "New Translation" inside.
    bool OnNewDocument() override;
    // "Save changes to <title>?" with Yes, No and Cancel, as the program's other boxes.
    bool OnSaveModified() override;

protected:
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    const AppServices& services_;
    CTranslation core_;
};

}  // namespace qs
