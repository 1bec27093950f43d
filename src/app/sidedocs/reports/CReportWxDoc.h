#pragma once
#include "app/sidedocs/SideWxDoc.h"
#include "sidedocs/reports/CReport.h"

namespace qs {

// The report definition as the document manager sees it. Its entries name registers of the
// services' dictionary, which outlives every document.
class CReportWxDoc : public SideWxDoc<CReport> {
    wxDECLARE_CLASS(CReportWxDoc);

public:
    explicit CReportWxDoc(const AppServices& services) : SideWxDoc(services, services.dictionary, services.ui) {}

    // Named as the template names new documents ("Report1", ...): title "New Report", no
    // entries, the default page.
    bool OnNewDocument() override;
};

}  // namespace qs
