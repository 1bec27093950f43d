#include "app/tools/wizard/CDX3MiscDlg.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "appmodel/wizard/WizardFieldCheck.h"

namespace qs {

namespace {

constexpr const char* kBoxTexts[CDX3MiscDlg::kBoxCount] = {
    "Security Switch",     "2nd Security Switch", "Remote Stop (All)", "System Permissive 1",
    "System Permissive 2", "System Permissive 3", "Alarm Output",      "2nd Alarm Output",
};

}  // namespace

CDX3MiscDlg::CDX3MiscDlg(CDX3PropertySheet& sheet, int index) : CDX3WizardPage(sheet, index) {
    wxSizer* column = Column();
    const int gap = FromDIP(8);
    auto group = [&](const char* title) {
        auto* sizer = new wxStaticBoxSizer(wxVERTICAL, this, title);
        column->Add(sizer, 0, wxEXPAND | wxBOTTOM, gap);
        return sizer;
    };
    auto general = [&](wxStaticBoxSizer* sizer) {
        wxTextCtrl* field = new wxTextCtrl(sizer->GetStaticBox(), wxID_ANY);
        field->SetMaxLength(4);
        field->SetMinSize(wxSize(field->GetTextExtent("0").x * 6, -1));
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(new wxStaticText(sizer->GetStaticBox(), wxID_ANY, "General Purpose:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
        row->Add(field);
        sizer->Add(row, 0, wxALL, gap / 2);
        return field;
    };
    auto boxes = [&](wxStaticBoxSizer* sizer, int first, int last) {
        auto* grid = new wxGridSizer(3, wxSize(2 * gap, gap / 2));
        for (int b = first; b <= last; ++b) {
            boxes_[static_cast<size_t>(b)] = new wxCheckBox(sizer->GetStaticBox(), wxID_ANY, kBoxTexts[b]);
            grid->Add(boxes_[static_cast<size_t>(b)]);
        }
        sizer->Add(grid, 0, wxALL, gap / 2);
    };
    wxStaticBoxSizer* inputs = group("Shared Digital Inputs");
    boxes(inputs, kSecurity, kPermissive3);
    generalInputs_ = general(inputs);
    wxStaticBoxSizer* outputs = group("Shared Digital Outputs");
    boxes(outputs, kAlarm, kAlarm2);
    generalOutputs_ = general(outputs);
    analogOutputs_ = general(group("Shared Analog Outputs"));
    inputs_ = new wxStaticText(this, wxID_ANY, "");
    outputs_ = new wxStaticText(this, wxID_ANY, "");
    column->Add(inputs_);
    column->Add(outputs_);
}

std::string CDX3MiscDlg::Caption() const { return "New Duravane III Wizard - Other I/O"; }

std::array<bool*, CDX3MiscDlg::kBoxCount> CDX3MiscDlg::Answered() const {
    WizardAnswers::SharedIo& s = Answers().shared;
    return {&s.securitySwitch,      &s.securitySwitch2,     &s.remoteStopAll, &s.systemPermissive[0],
            &s.systemPermissive[1], &s.systemPermissive[2], &s.alarm,         &s.alarm2};
}

void CDX3MiscDlg::Load() {
    ShowText(inputs_, Model().InputsUsedText());
    ShowText(outputs_, Model().OutputsUsedText());
    const auto answered = Answered();
    for (size_t b = 0; b < answered.size(); ++b) boxes_[b]->SetValue(*answered[b]);
    const WizardAnswers::SharedIo& s = Answers().shared;
    generalInputs_->ChangeValue(std::to_string(s.generalInputs));
    generalOutputs_->ChangeValue(std::to_string(s.generalOutputs));
    analogOutputs_->ChangeValue(std::to_string(s.analogOutputs));
}

void CDX3MiscDlg::Store() {
    const auto answered = Answered();
    for (size_t b = 0; b < answered.size(); ++b) *answered[b] = boxes_[b]->GetValue();
    WizardAnswers::SharedIo& s = Answers().shared;
    const int most = WizardPageRules::kMaxGeneralPurpose;
    if (const auto n = WizardFieldCheck::Integer(generalInputs_->GetValue().utf8_string(), 0, most)) s.generalInputs = *n;
    if (const auto n = WizardFieldCheck::Integer(generalOutputs_->GetValue().utf8_string(), 0, most)) s.generalOutputs = *n;
    if (const auto n = WizardFieldCheck::Integer(analogOutputs_->GetValue().utf8_string(), 0, most)) s.analogOutputs = *n;
}

bool CDX3MiscDlg::CheckFields() {
    const int most = WizardPageRules::kMaxGeneralPurpose;
    return CheckInteger(generalInputs_, 0, most) && CheckInteger(generalOutputs_, 0, most) &&
           CheckInteger(analogOutputs_, 0, most);
}

}  // namespace qs
