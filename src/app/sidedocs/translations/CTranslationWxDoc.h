#pragma once
#include "app/sidedocs/SideWxDoc.h"
#include "sidedocs/translations/CTranslation.h"

namespace qs {

// The translation as the document manager sees it.
class CTranslationWxDoc : public SideWxDoc<CTranslation> {
    wxDECLARE_CLASS(CTranslationWxDoc);

public:
    using SideWxDoc::SideWxDoc;

    // Named as the template names new documents ("Lang1", ...), and "New Translation" inside.
    bool OnNewDocument() override;
};

}  // namespace qs
