#include "app/tools/wizard/CDX3WizardPage.h"

#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/WxText.h"
#include "app/shell/ContextHelp.h"
#include "app/tools/wizard/CDX3PropertySheet.h"
#include "appmodel/wizard/WizardFieldCheck.h"
#include "platform/UiServices.h"

namespace qs {

CDX3WizardPage::CDX3WizardPage(CDX3PropertySheet& sheet, int index)
    : wxWizardPage(&sheet), sheet_(sheet), index_(index) {
    ContextHelp::SetId(this, CDX3PropertySheet::kHelpId);
    Bind(wxEVT_WIZARD_PAGE_CHANGING, &CDX3WizardPage::OnChanging, this);
    Bind(wxEVT_WIZARD_PAGE_CHANGED, &CDX3WizardPage::OnChanged, this);
}

wxWizardPage* CDX3WizardPage::GetPrev() const { return sheet_.PageAt(sheet_.Pages().Previous(index_)); }

wxWizardPage* CDX3WizardPage::GetNext() const { return sheet_.PageAt(sheet_.Pages().Next(index_)); }

const WizardPage& CDX3WizardPage::Page() const { return sheet_.Pages().At(index_); }

WizardModel& CDX3WizardPage::Model() const { return sheet_.Model(); }

WizardAnswers& CDX3WizardPage::Answers() const { return sheet_.Model().answers; }

WizardPageRules& CDX3WizardPage::Rules() const { return sheet_.Rules(); }

const WizardPageList& CDX3WizardPage::Pages() const { return sheet_.Pages(); }

const UiServices& CDX3WizardPage::Ui() const { return sheet_.Ui(); }

bool CDX3WizardPage::IsCurrent() const { return sheet_.GetCurrentPage() == this; }

// The dialog passes these on to every page at its start; only the current page exchanges.
bool CDX3WizardPage::TransferDataToWindow() {
    if (IsCurrent()) Load();
    return true;
}

bool CDX3WizardPage::TransferDataFromWindow() {
    if (IsCurrent()) Store();
    return true;
}

void CDX3WizardPage::OnChanging(wxWizardEvent& event) {
    // The answers already hold what the page shows; only going forward is checked.
    if (!event.GetDirection()) return;
    if (!CheckFields()) {
        event.Veto();
        return;
    }
    const std::string refusal = Rules().RefusalOnNext(Page());
    if (!refusal.empty()) {
        Refuse(refusal);
        event.Veto();
    }
}

void CDX3WizardPage::OnChanged(wxWizardEvent&) {
    sheet_.SetTitle(ToWx(Caption()));
    UpdateButtons();
}

void CDX3WizardPage::UpdateButtons() {
    if (wxWindow* next = sheet_.FindWindow(wxID_FORWARD)) next->Enable(sheet_.Pages().NextEnabled(index_));
}

bool CDX3WizardPage::Refuse(const std::string& text, wxWindow* field) const {
    Ui().Message(text, MB_OK | MB_ICONEXCLAMATION);
    if (field) field->SetFocus();
    return false;
}

std::optional<int> CDX3WizardPage::CheckInteger(wxTextCtrl* field, int low, int high) const {
    std::string refusal;
    const auto value = WizardFieldCheck::Integer(field->GetValue().utf8_string(), low, high, &refusal);
    if (!value) Refuse(refusal, field);
    return value;
}

wxSizer* CDX3WizardPage::Column() {
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* column = new wxBoxSizer(wxVERTICAL);
    outer->Add(column, 1, wxEXPAND | wxALL, FromDIP(8));
    SetSizer(outer);
    return column;
}

wxTextCtrl* CDX3WizardPage::NumberField(int digits) {
    auto* field = new wxTextCtrl(this, wxID_ANY);
    field->SetMaxLength(static_cast<unsigned long>(digits + 2));
    field->SetMinSize(wxSize(field->GetTextExtent("0").x * (digits + 4), -1));
    return field;
}

void CDX3WizardPage::ShowText(wxStaticText* label, const std::string& text) {
    const wxString shown = ToWx(text);
    if (label->GetLabelText() != shown) label->SetLabelText(shown);
}

}  // namespace qs
