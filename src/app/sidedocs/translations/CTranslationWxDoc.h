#pragma once
#include <wx/docview.h>

#include "platform/UiServices.h"
#include "sidedocs/translations/CTranslation.h"

namespace qs {

// The translation as the document manager sees it: new, open, save, save as and the question
// before closing a changed one, over the core document that holds the data. Its messages go
// through the services of the main window that hosts it.
class CTranslationWxDoc : public wxDocument {
    wxDECLARE_DYNAMIC_CLASS(CTranslationWxDoc);

public:
    CTranslationWxDoc() = default;
    CTranslationWxDoc(const CTranslationWxDoc&) = delete;
    CTranslationWxDoc& operator=(const CTranslationWxDoc&) = delete;

    CTranslation& Core() { return core_; }
    const CTranslation& Core() const { return core_; }

    // The host's services; without a host, the fallbacks of an empty bundle.
    const UiServices& Services() const;

    bool OnNewDocument() override;
    // "Save changes to <title>?" with Yes, No and Cancel, as the program's other boxes.
    bool OnSaveModified() override;

protected:
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    CTranslation core_;
    UiServices fallback_;
};

}  // namespace qs
