#pragma once
#include <functional>
#include <vector>

#include <wx/wizard.h>

#include "appmodel/wizard/WizardModel.h"
#include "appmodel/wizard/WizardPageList.h"
#include "appmodel/wizard/WizardPageRules.h"

namespace qs {

class CDX3WizardPage;
class CVexa3Doc;
struct AppServices;
struct UiServices;

// The new-device wizard "New Duravane IIIX Wizard": the pages for a new document's arms,
// meters and additives over one set of answers. Finish leaves the answers in the model, for
// the new document to take.
class CDX3PropertySheet : public wxWizard {
public:
    static constexpr const char* kCaption = "New Duravane IIIX Wizard";
    static constexpr int kHelpId = 107;

    // The counts come from `document` (a scratch document of the new kind); `ui` shows the
    // refusals and outlives the sheet.
    CDX3PropertySheet(wxWindow* parent, const CVexa3Doc& document, const UiServices& ui);

    // Runs the wizard modally over `parent` on a scratch document. Finish gives what writes
    // the answers into the new document (and tells the user of functions left without an I/O
    // point); Cancel gives nothing.
    static std::function<void(CVexa3Doc&)> Run(wxWindow* parent, const AppServices& services);
    // What Finish hands on: writes the answers and names what found no point or channel.
    static void ApplyToDocument(const WizardModel& model, CVexa3Doc& document, const UiServices& ui);

    // Shows the first page modally; true on Finish.
    bool RunFromStart();

    WizardModel& Model() { return model_; }
    const WizardPageList& Pages() const { return pages_; }
    WizardPageRules& Rules() { return rules_; }
    const UiServices& Ui() const { return ui_; }
    // The window of a page of the list, made when first asked for; null for -1.
    CDX3WizardPage* PageAt(int index);

private:
    WizardModel model_;
    WizardPageList pages_;
    WizardPageRules rules_;
    const UiServices& ui_;
    std::vector<CDX3WizardPage*> windows_;
};

}  // namespace qs
