#include "app/tools/wizard/CDX3ArmCfgDlg.h"

#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/WxText.h"
#include "appmodel/wizard/WizardFieldCheck.h"
#include "appmodel/wizard/WizardTexts.h"

namespace qs {

CDX3ArmCfgDlg::CDX3ArmCfgDlg(CDX3PropertySheet& sheet, int index) : CDX3WizardPage(sheet, index) {
    wxSizer* column = Column();
    const int gap = FromDIP(8);
    typeLabel_ = new wxStaticText(this, wxID_ANY, ToWx(Rules().ArmTypeCaption(Page().arm)));
    column->Add(typeLabel_, 0, wxBOTTOM, gap / 2);
    types_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxLB_SINGLE);
    // Room for every row, so the list never scrolls (the toolkit's best size stops at ten).
    wxArrayString all;
    for (const std::string& text : WizardTexts::ArmTypeTexts(WizardTexts::kArmTypes)) all.Add(ToWx(text));
    types_->Set(all);
    const int row = types_->GetCharHeight() + FromDIP(7);
    types_->SetMinSize(wxSize(types_->GetBestSize().x, row * WizardTexts::kArmTypes + FromDIP(6)));
    column->Add(types_, 0, wxBOTTOM, gap);

    auto* grid = new wxFlexGridSizer(2, wxSize(gap, gap / 2));
    address_ = NumberField(2);
    injectors_ = NumberField(2);
    grid->Add(new wxStaticText(this, wxID_ANY, "Address:"), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(address_);
    grid->Add(new wxStaticText(this, wxID_ANY, "# of Additive Injectors this arm:"), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(injectors_);
    column->Add(grid, 0, wxBOTTOM, gap / 2);
    remaining_ = new wxStaticText(this, wxID_ANY, "");
    column->Add(remaining_);

    types_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { OnType(); });
}

std::string CDX3ArmCfgDlg::Caption() const { return "New Duravane III.NET Wizard - Arm Type"; }

void CDX3ArmCfgDlg::Load() {
    const int arm = Page().arm;
    Rules().PrepareArmType(arm);
    wxArrayString rows;
    for (const std::string& text : WizardTexts::ArmTypeTexts(Pages().OfferedArmTypes(arm))) rows.Add(ToWx(text));
    types_->Set(rows);
    types_->SetSelection(Answers().armType[static_cast<size_t>(arm)]);
    address_->ChangeValue(std::to_string(Answers().armAddress[static_cast<size_t>(arm)]));
    injectors_->ChangeValue(std::to_string(Answers().injectors[static_cast<size_t>(arm)]));
    ShowText(remaining_, Rules().RemainingText());
}

void CDX3ArmCfgDlg::OnType() {
    // Stored at once: what the next pages are depends on it.
    if (types_->GetSelection() == wxNOT_FOUND) return;
    Model().SetArmType(Page().arm, types_->GetSelection());
    ShowText(remaining_, Rules().RemainingText());
    UpdateButtons();
}

void CDX3ArmCfgDlg::Store() {
    const size_t arm = static_cast<size_t>(Page().arm);
    if (const auto address = WizardFieldCheck::Integer(address_->GetValue().utf8_string(), 0, WizardPageRules::kMaxAddress))
        Answers().armAddress[arm] = *address;
    if (const auto count = WizardFieldCheck::Integer(injectors_->GetValue().utf8_string(), 0, Rules().InjectorLimit(Page().arm)))
        Answers().injectors[arm] = *count;
}

bool CDX3ArmCfgDlg::CheckFields() {
    return CheckInteger(address_, 0, WizardPageRules::kMaxAddress) &&
           CheckInteger(injectors_, 0, Rules().InjectorLimit(Page().arm));
}

}  // namespace qs
