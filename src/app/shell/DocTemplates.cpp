#include "app/shell/DocTemplates.h"

#include "app/programdata/CDirectoryView.h"
#include "app/shell/CErrorLogView.h"
#include "app/shell/CPowerDocTemplate.h"
#include "app/programdata/CVexa3WxDoc.h"
#include "app/sidedocs/carddb/CDatabaseView.h"
#include "app/sidedocs/equations/CEquationView.h"
#include "app/sidedocs/equations/CEquationWxDoc.h"
#include "app/sidedocs/carddb/CDatabaseWxDoc.h"
#include "app/sidedocs/reports/CReportView.h"
#include "app/sidedocs/reports/CReportWxDoc.h"
#include "app/sidedocs/translations/CTransView.h"
#include "app/sidedocs/translations/CTranslationWxDoc.h"
#include "app/tools/CEmulatorView.h"

namespace qs {

DocTemplates DocTemplates::Create(wxDocManager& manager) {
    DocTemplates t;
    // File-name patterns take either case: the program writes upper-case extensions, but a
    // file may have been copied through a system that changed them.
    t.programData = new CPowerDocTemplate(127, &manager, "Duravane III.NET Data File", "*.D3X;*.d3x", "D3X",
                                          "Quillset.NET Document", "NEW_", wxCLASSINFO(CVexa3WxDoc),
                                          wxCLASSINFO(CDirectoryView));
    t.programData->SetDocumentFactory([](const AppServices& services) { return new CVexa3WxDoc(services); });
    t.report = new CPowerDocTemplate(126, &manager, "Quillset.NET Report Definition File", "*.RPX;*.rpx", "RPX",
                                     "Quillset.NET Report Definition File", "Report", wxCLASSINFO(CReportWxDoc),
                                     wxCLASSINFO(CReportView));
    t.report->SetDocumentFactory([](const AppServices& services) { return new CReportWxDoc(services); });
    t.equation = new CPowerDocTemplate(125, &manager, "Quillset.NET Equation File", "*.EQX;*.eqx", "EQX",
                                       "Quillset.NET Equation Set", "Prog", wxCLASSINFO(CEquationWxDoc),
                                       wxCLASSINFO(CEquationView));
    t.equation->SetDocumentFactory(
        [](const AppServices& services) { return new CEquationWxDoc(services, services.dictionary); });
    t.terminal = new CPowerDocTemplate(124, &manager, "", "", "", "Quillset.NET Terminal", "",
                                       wxCLASSINFO(CVexa3WxDoc), wxCLASSINFO(CEmulatorView), wxTEMPLATE_INVISIBLE);
    t.translation = new CPowerDocTemplate(123, &manager, "Quillset IIIX Translation File", "*.LGX;*.lgx", "LGX",
                                          "Quillset.NET Translation File", "Lang", wxCLASSINFO(CTranslationWxDoc),
                                          wxCLASSINFO(CTransView));
    t.translation->SetDocumentFactory([](const AppServices& services) { return new CTranslationWxDoc(services); });
    t.database = new CPowerDocTemplate(121, &manager, "Quillset.NET Database File", "*.3DB;*.3db", "3DB",
                                       "Quillset.NET  Database File", "DDB_", wxCLASSINFO(CDatabaseWxDoc),
                                       wxCLASSINFO(CDatabaseView));
    t.database->SetDocumentFactory([](const AppServices& services) { return new CDatabaseWxDoc(services); });
    t.errorLog = new CPowerDocTemplate(122, &manager, "", "", "", "Quillset.NET Error Log", "",
                                       wxCLASSINFO(CVexa3WxDoc), wxCLASSINFO(CErrorLogView), wxTEMPLATE_INVISIBLE);
    return t;
}

void DocTemplates::SetServices(const AppServices* services) const {
    for (CPowerDocTemplate* t : {programData, report, equation, terminal, translation, database, errorLog})
        if (t) t->SetServices(services);
}

}  // namespace qs
