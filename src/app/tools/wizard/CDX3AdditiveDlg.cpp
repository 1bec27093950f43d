#include "app/tools/wizard/CDX3AdditiveDlg.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "app/common/WxText.h"
#include "appmodel/wizard/WizardTexts.h"

namespace qs {

CDX3AdditiveDlg::CDX3AdditiveDlg(CDX3PropertySheet& sheet, int index) : CDX3WizardPage(sheet, index) {
    wxSizer* column = Column();
    const int gap = FromDIP(8);
    caption_ = new wxStaticText(this, wxID_ANY, "");
    caption_->SetFont(caption_->GetFont().Bold());
    column->Add(caption_, 0, wxBOTTOM, gap);

    auto* typeRow = new wxBoxSizer(wxHORIZONTAL);
    type_ = new wxChoice(this, wxID_ANY);
    typeRow->Add(new wxStaticText(this, wxID_ANY, "Injector Type:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    typeRow->Add(type_);
    column->Add(typeRow, 0, wxBOTTOM, gap);
    pump_ = new wxCheckBox(this, wxID_ANY, "Assign Additive Pump Output for this additive");
    column->Add(pump_, 0, wxBOTTOM, gap);

    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Additive Plumbed to Meters...(ratio/side stream blending only)");
    group_ = group->GetStaticBox();
    auto* boxes = new wxGridSizer(3, wxSize(2 * gap, gap / 2));
    for (int m = 0; m < kMeterBoxes; ++m) {
        meters_[static_cast<size_t>(m)] = new wxCheckBox(group_, wxID_ANY, "Meter " + std::to_string(m + 1));
        boxes->Add(meters_[static_cast<size_t>(m)]);
        meters_[static_cast<size_t>(m)]->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { Store(); });
    }
    group->Add(boxes, 0, wxALL, gap / 2);
    group->Add(new wxStaticText(group_, wxID_ANY, "(Clear all checkboxes for downstream injection)"), 0, wxALL, gap / 2);
    column->Add(group, 0, wxEXPAND | wxBOTTOM, gap);

    inputs_ = new wxStaticText(this, wxID_ANY, "");
    outputs_ = new wxStaticText(this, wxID_ANY, "");
    column->Add(inputs_);
    column->Add(outputs_);

    type_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
        pump_->Enable(WizardPageRules::AdditivePumpEnabled(type_->GetSelection()));
        Store();
        ShowCounts();
    });
    pump_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        Store();
        ShowCounts();
    });
}

std::string CDX3AdditiveDlg::Caption() const { return "New Duravane III Wizard - Additives"; }

void CDX3AdditiveDlg::ShowCounts() {
    ShowText(inputs_, Model().InputsUsedText());
    ShowText(outputs_, Model().OutputsUsedText());
}

void CDX3AdditiveDlg::Load() {
    const int k = Page().additive;
    // The list is filled again each time: Ferrix comes and goes with the AICB board.
    Rules().PrepareAdditive(k);
    const WizardAnswers::Additive& additive = Answers().additives[static_cast<size_t>(k)];
    ShowText(caption_, Rules().AdditiveCaption(k));
    wxArrayString types;
    for (const std::string& text : WizardTexts::InjectorTypeTexts(Model().OfferedInjectorTypes())) types.Add(ToWx(text));
    type_->Set(types);
    type_->SetSelection(additive.type);
    pump_->SetValue(additive.pumpOutput);
    pump_->Enable(WizardPageRules::AdditivePumpEnabled(additive.type));
    const int enabled = Rules().MeterBoxesEnabled(k);
    group_->Enable(enabled > 0);
    for (int m = 0; m < kMeterBoxes; ++m) {
        wxCheckBox* box = meters_[static_cast<size_t>(m)];
        box->Enable(m < enabled);
        box->SetValue(enabled > 0 && (additive.meterMask >> m & 1) != 0);
    }
    ShowCounts();
}

void CDX3AdditiveDlg::Store() {
    WizardAnswers::Additive& additive = Answers().additives[static_cast<size_t>(Page().additive)];
    if (type_->GetSelection() != wxNOT_FOUND) additive.type = type_->GetSelection();
    if (pump_->IsEnabled()) additive.pumpOutput = pump_->GetValue();
    for (int m = 0; m < kMeterBoxes; ++m) {
        const wxCheckBox* box = meters_[static_cast<size_t>(m)];
        if (!box->IsThisEnabled()) continue;
        additive.meterMask = box->GetValue() ? additive.meterMask | 1 << m : additive.meterMask & ~(1 << m);
    }
}

}  // namespace qs
