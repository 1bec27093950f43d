#pragma once
#include "app/sidedocs/SideWxDoc.h"
#include "sidedocs/equations/CEquationDoc.h"

namespace qs {

class ParamDictionary;

// The equation set as the document manager sees it. Its lines name registers of `dictionary`,
// which outlives every document.
class CEquationWxDoc : public SideWxDoc<CEquationDoc> {
    wxDECLARE_CLASS(CEquationWxDoc);

public:
    CEquationWxDoc(const AppServices& services, const ParamDictionary& dictionary) : SideWxDoc(services, dictionary) {}

    // Named as the template names new documents ("Prog1", ...): no lines, no name.
    bool OnNewDocument() override;
};

}  // namespace qs
