#include "app/tools/wizard/CDX3PropertySheet.h"

#include <optional>
#include <set>

#include <wx/sizer.h>

#include "app/shell/ContextHelp.h"
#include "app/tools/wizard/CDX3AdditiveDlg.h"
#include "app/tools/wizard/CDX3ArmCfgDlg.h"
#include "app/tools/wizard/CDX3ArmDetailDlg.h"
#include "app/tools/wizard/CDX3BoxCfgDlg.h"
#include "app/tools/wizard/CDX3ConfirmDlg.h"
#include "app/tools/wizard/CDX3MeterRunDlg.h"
#include "app/tools/wizard/CDX3MiscDlg.h"
#include "app/tools/wizard/CDX3PulseOutDlg.h"
#include "appmodel/common/AppServices.h"
#include "platform/UiServices.h"
#include "programdata/CVexa3Doc.h"

namespace qs {

namespace {

CDX3WizardPage* MakePage(CDX3PropertySheet& sheet, int index) {
    switch (sheet.Pages().At(index).kind) {
    case WizardPage::kHardware: return new CDX3BoxCfgDlg(sheet, index);
    case WizardPage::kArmType: return new CDX3ArmCfgDlg(sheet, index);
    case WizardPage::kArmDetail: return new CDX3ArmDetailDlg(sheet, index);
    case WizardPage::kMeterRun: return new CDX3MeterRunDlg(sheet, index);
    case WizardPage::kAdditive: return new CDX3AdditiveDlg(sheet, index);
    case WizardPage::kPulseOutputs: return new CDX3PulseOutDlg(sheet, index);
    case WizardPage::kOtherIo: return new CDX3MiscDlg(sheet, index);
    case WizardPage::kConfirm: return new CDX3ConfirmDlg(sheet, index);
    }
    return nullptr;
}

}  // namespace

CDX3PropertySheet::CDX3PropertySheet(wxWindow* parent, const CVexa3Doc& document, const UiServices& ui)
    : wxWizard(parent, wxID_ANY, kCaption),
      model_(document.ArmCount(), document.MeterCount(), document.AdditiveCount()),
      pages_(model_),
      rules_(model_, pages_),
      ui_(ui) {
    ContextHelp::SetId(this, kHelpId);
    // The first page of each kind is made now, so the wizard grows to hold the largest; the
    // others, laid out alike, when they are first reached.
    windows_.resize(static_cast<size_t>(pages_.Count()), nullptr);
    std::set<WizardPage::Kind> made;
    for (int i = 0; i < pages_.Count(); ++i) {
        if (!made.insert(pages_.At(i).kind).second) continue;
        windows_[static_cast<size_t>(i)] = MakePage(*this, i);
        GetPageAreaSizer()->Add(windows_[static_cast<size_t>(i)]);
    }
}

CDX3WizardPage* CDX3PropertySheet::PageAt(int index) {
    if (index < 0 || index >= static_cast<int>(windows_.size())) return nullptr;
    CDX3WizardPage*& page = windows_[static_cast<size_t>(index)];
    if (!page) {
        // In the page area too: the wizard lays out the area only while one of its pages shows.
        page = MakePage(*this, index);
        GetPageAreaSizer()->Add(page);
        page->Hide();
    }
    return page;
}

bool CDX3PropertySheet::RunFromStart() { return RunWizard(PageAt(0)); }

void CDX3PropertySheet::ApplyToDocument(const WizardModel& model, CVexa3Doc& document, const UiServices& ui) {
    const std::string unassigned = WizardPageRules::UnassignedText(model.ApplyToDocument(document));
    if (!unassigned.empty()) ui.Message(unassigned, MB_OK | MB_ICONEXCLAMATION);
}

std::function<void(CVexa3Doc&)> CDX3PropertySheet::Run(wxWindow* parent, const AppServices& services) {
    // The scratch document only lends its counts: it loads no definitions.
    const CVexa3Doc scratch(services.ports, DefinitionSource{}, &services.options);
    std::optional<WizardModel> finished;
    {
        CDX3PropertySheet sheet(parent, scratch, services.ui);
        if (sheet.RunFromStart()) finished = sheet.Model();
    }
    if (!finished) return {};
    const UiServices& ui = services.ui;
    return [model = *finished, &ui](CVexa3Doc& document) { ApplyToDocument(model, document, ui); };
}

}  // namespace qs
