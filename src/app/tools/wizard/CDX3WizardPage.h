#pragma once
#include <optional>
#include <string>

#include <wx/wizard.h>

#include "appmodel/wizard/WizardModel.h"
#include "appmodel/wizard/WizardPageList.h"
#include "appmodel/wizard/WizardPageRules.h"

class wxSizer;
class wxStaticText;
class wxTextCtrl;

namespace qs {

class CDX3PropertySheet;
struct UiServices;

// A page of the new-device wizard. It shows the answers when it becomes the current page
// (Load) and stores what its enabled controls hold when it is left, back or forward (Store).
// Only going forward is refused: the fields' own checks first, then the page's rules. The
// pages shown next and before follow the answers at the moment the user moves.
class CDX3WizardPage : public wxWizardPage {
public:
    CDX3WizardPage(CDX3PropertySheet& sheet, int index);

    wxWizardPage* GetPrev() const override;
    wxWizardPage* GetNext() const override;
    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    int Index() const { return index_; }
    const WizardPage& Page() const;
    // The wizard's title while the page shows.
    virtual std::string Caption() const = 0;

protected:
    virtual void Load() = 0;
    virtual void Store() = 0;
    // The fields' own checks before going forward; a refusal is shown and gives false.
    virtual bool CheckFields() { return true; }

    WizardModel& Model() const;
    WizardAnswers& Answers() const;
    WizardPageRules& Rules() const;
    const WizardPageList& Pages() const;
    const UiServices& Ui() const;
    // Next follows the rules; Back is the wizard's.
    void UpdateButtons();
    // Shows a refusal and puts the focus on the field (when given); false.
    bool Refuse(const std::string& text, wxWindow* field = nullptr) const;
    // A checked number field going forward; the refusal is shown.
    std::optional<int> CheckInteger(wxTextCtrl* field, int low, int high) const;

    // Layout: the page's sizer with a gap all round, and a text field of a few digits.
    wxSizer* Column();
    wxTextCtrl* NumberField(int digits);
    static void ShowText(wxStaticText* label, const std::string& text);

private:
    bool IsCurrent() const;
    void OnChanging(wxWizardEvent& event);
    void OnChanged(wxWizardEvent& event);

    CDX3PropertySheet& sheet_;
    int index_;
};

}  // namespace qs
