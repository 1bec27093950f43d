#pragma once
#include "app/sidedocs/SideWxDoc.h"
#include "sidedocs/carddb/CDatabase.h"

namespace qs {

// The card database as the document manager sees it.
class CDatabaseWxDoc : public SideWxDoc<CDatabase> {
    wxDECLARE_CLASS(CDatabaseWxDoc);

public:
    using SideWxDoc::SideWxDoc;

    // Named as the template names new documents ("DDB_1", ...), and "New Database" inside.
    bool OnNewDocument() override;
};

}  // namespace qs
