#include "app/sidedocs/reports/CReportItemAdvancedDlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/shell/ContextHelp.h"
#include "app/tools/CRegisterBrowseDlg.h"
#include "platform/UiServices.h"
#include "programdata/CParam.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/ReportFormatCheck.h"
#include "sidedocs/reports/ReportItem.h"
#include "sidedocs/reports/ReportItemSample.h"
#include "sidedocs/reports/ReportRestrictions.h"

namespace qs {

CReportItemAdvancedDlg::CReportItemAdvancedDlg(wxWindow* parent, const ParamDictionary& dictionary,
                                               const UiServices& ui, RegisterChooser choose)
    : StandardDialog(parent, wxID_ANY, "Advanced Report Item Options"),
      dictionary_(dictionary),
      ui_(ui),
      choose_(std::move(choose)) {
    if (!choose_)
        choose_ = [this](wxWindow* owner, const CParam* current) {
            return PickRegister(owner, dictionary_, ui_, CRegisterBrowseDlg::Options{current, 0, false});
        };
    const int gap = Gap();
    auto* grid = new wxFlexGridSizer(2, gap / 2, gap);
    grid->Add(new wxStaticText(this, wxID_ANY, "Use alternate print format:"), 0, wxALIGN_CENTER_VERTICAL);
    format_ = new wxTextCtrl(this, kFormatId);
    format_->SetMaxLength(kReportFormatMaxLength);
    grid->Add(format_, 0);
    grid->Add(new wxStaticText(this, wxID_ANY, "Restrictions:"), 0, wxALIGN_CENTER_VERTICAL);
    condition_ = new wxChoice(this, kConditionId);
    for (const char* name : kReportConditionNames) condition_->Append(name);
    grid->Add(condition_, 0);
    grid->Add(new wxStaticText(this, wxID_ANY, "Reference Register"), 0, wxALIGN_CENTER_VERTICAL);
    auto* referenceRow = new wxBoxSizer(wxHORIZONTAL);
    reference_ = new wxTextCtrl(this, kReferenceId, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    reference_->SetMinSize(wxSize(FromDIP(240), -1));
    change_ = new wxButton(this, kChangeId, "Change");
    referenceRow->Add(reference_, 1, wxRIGHT, gap);
    referenceRow->Add(change_, 0);
    grid->Add(referenceRow, 0, wxEXPAND);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, Margin());
    offset_ = new wxCheckBox(this, kOffsetId, "Use reference register's value for the offset for this item");
    top->Add(offset_, 0, wxLEFT | wxRIGHT | wxBOTTOM, Margin());
    AddButtonRow(top, wxOK | wxCANCEL | wxHELP);
    FinishLayout(top);

    ContextHelp::SetId(this, kHelpId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ContextHelp::ShowTopic(ui_, kHelpId); }, wxID_HELP);
    change_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnChangeReference(); });
}

bool CReportItemAdvancedDlg::TransferDataToWindow() {
    referenceEntry = referenceId ? dictionary_.FindParamByRegisterId(referenceId) : nullptr;
    format_->ChangeValue(wxString::FromUTF8(format));
    format_->Enable(itemType != kReportItemUserText);
    condition_->SetSelection(condition >= 0 && condition < ReportItem::kConditionCount ? condition : 0);
    offset_->SetValue(useReferenceOffset);
    UpdateReference();
    return true;
}

bool CReportItemAdvancedDlg::TransferDataFromWindow() {
    const std::string newFormat = format_->GetValue().utf8_string();
    const int checkedType = itemType == kReportItemValue && itemEntry && !itemEntry->HasOptionList()
                                ? itemEntry->dataType
                                : CParam::kTypeText;
    if (format_->IsEnabled()) {
        if (const int code = ValidateReportFormat(checkedType, newFormat)) {
            ui_.Message(std::string("Invalid Format String - ") + ReportFormatMessage(code), MB_OK | MB_ICONEXCLAMATION);
            format_->SetFocus();
            format_->SelectAll();
            return false;
        }
    }
    const ReportRestrictionInput input{itemEntry, referenceEntry, condition_->GetSelection(), offset_->GetValue()};
    const ReportRestrictionResult result = ValidateReportRestrictions(input, dictionary_);
    if (!result.Ok()) {
        ui_.Message(result.message, MB_OK | MB_ICONEXCLAMATION);
        (result.field == ReportRestrictionField::Offset ? static_cast<wxWindow*>(offset_) : condition_)->SetFocus();
        return false;
    }
    format = newFormat;
    condition = input.condition;
    useReferenceOffset = input.useReferenceOffset;
    return true;
}

void CReportItemAdvancedDlg::UpdateReference() {
    if (!referenceEntry) {
        reference_->ChangeValue("<none>");
        offset_->SetValue(false);
        offset_->Disable();
        return;
    }
    std::string name = referenceEntry->Name();
    if (referenceEntry->instances > 0) name += "(" + std::to_string(RegisterIdInstance(referenceId)) + ")";
    reference_->ChangeValue(wxString::FromUTF8(name));
    const bool usable = ReportOffsetUsable(itemEntry, referenceEntry);
    if (!usable) offset_->SetValue(false);
    offset_->Enable(usable);
}

void CReportItemAdvancedDlg::OnChangeReference() {
    const auto picked = choose_(this, referenceEntry);
    if (!picked || !picked->entry) return;
    referenceEntry = picked->entry;
    referenceId = ReportRegisterIdFor(*picked->entry, picked->offset);
    UpdateReference();
}

}  // namespace qs
