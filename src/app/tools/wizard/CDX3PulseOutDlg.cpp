#include "app/tools/wizard/CDX3PulseOutDlg.h"

#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/WxText.h"
#include "appmodel/wizard/WizardFieldCheck.h"
#include "appmodel/wizard/WizardTexts.h"

namespace qs {

namespace {

void Fill(wxChoice* list, const std::vector<std::string>& rows) {
    wxArrayString texts;
    for (const std::string& row : rows) texts.Add(ToWx(row));
    list->Set(texts);
}

}  // namespace

CDX3PulseOutDlg::CDX3PulseOutDlg(CDX3PropertySheet& sheet, int index) : CDX3WizardPage(sheet, index) {
    wxSizer* column = Column();
    const int gap = FromDIP(8);
    for (int o = 0; o < WizardAnswers::kPulseOutputs; ++o) {
        Output& out = outputs_[static_cast<size_t>(o)];
        auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Pulse Output #" + std::to_string(o + 1));
        wxWindow* box = group->GetStaticBox();
        out.arm = new wxChoice(box, wxID_ANY);
        out.meter = new wxChoice(box, wxID_ANY);
        out.source = new wxChoice(box, wxID_ANY);
        Fill(out.source, WizardTexts::PulseSourceTexts());
        // As wide as the widest row the meter list can hold, with room for the arrow (the
        // toolkit's best size of a list not yet shown is too narrow for it).
        const int width = out.meter->GetTextExtent("Arm Total Pulses").x + FromDIP(64);
        for (wxChoice* list : {out.arm, out.meter, out.source}) list->SetMinSize(wxSize(width, -1));
        out.perUnit = new wxTextCtrl(box, wxID_ANY);
        out.perUnit->SetMaxLength(12);
        out.maxFrequency = new wxTextCtrl(box, wxID_ANY);
        out.maxFrequency->SetMaxLength(6);
        auto* grid = new wxFlexGridSizer(3, wxSize(gap, gap / 2));
        auto label = [&](const char* text) { grid->Add(new wxStaticText(box, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL); };
        label("Arm:");
        grid->Add(out.arm);
        grid->AddSpacer(0);
        label("Meter:");
        grid->Add(out.meter);
        grid->AddSpacer(0);
        label("Source:");
        grid->Add(out.source);
        grid->AddSpacer(0);
        grid->AddSpacer(0);
        grid->Add(out.perUnit, 0, wxEXPAND);
        label("pulses / unit");
        label("Do not exceed");
        grid->Add(out.maxFrequency, 0, wxEXPAND);
        label("Hz (0-3500)");
        group->Add(grid, 0, wxALL, gap / 2);
        column->Add(group, 0, wxEXPAND | wxBOTTOM, gap);
        out.arm->Bind(wxEVT_CHOICE, [this, o](wxCommandEvent&) { FillMeters(o, 0); });
    }
}

std::string CDX3PulseOutDlg::Caption() const { return "New Duravane III Wizard - Pulse Outputs"; }

void CDX3PulseOutDlg::FillMeters(int output, int row) {
    const Output& out = outputs_[static_cast<size_t>(output)];
    const int arm = out.arm->GetSelection();
    Fill(out.meter, Rules().PulseMeterTexts(arm));
    out.meter->SetSelection(row < static_cast<int>(out.meter->GetCount()) ? row : 0);
    out.meter->Enable(Rules().PulseMeterEnabled(arm));
}

void CDX3PulseOutDlg::Load() {
    // Choices the lists no longer hold go back to their first row; the others show again.
    Rules().PreparePulseOutputs();
    const std::vector<std::string> arms = Rules().PulseArmTexts();
    for (int o = 0; o < WizardAnswers::kPulseOutputs; ++o) {
        const Output& out = outputs_[static_cast<size_t>(o)];
        const WizardAnswers::PulseOutput& p = Answers().pulseOutputs[static_cast<size_t>(o)];
        Fill(out.arm, arms);
        out.arm->SetSelection(p.arm);
        FillMeters(o, p.meter);
        out.source->SetSelection(p.source);
        out.perUnit->ChangeValue(ToWx(WizardFieldCheck::NumberText(p.pulsesPerUnit)));
        out.maxFrequency->ChangeValue(std::to_string(p.maxFrequency));
    }
}

void CDX3PulseOutDlg::Store() {
    for (int o = 0; o < WizardAnswers::kPulseOutputs; ++o) {
        const Output& out = outputs_[static_cast<size_t>(o)];
        WizardAnswers::PulseOutput& p = Answers().pulseOutputs[static_cast<size_t>(o)];
        if (out.arm->GetSelection() != wxNOT_FOUND) p.arm = out.arm->GetSelection();
        if (out.meter->GetSelection() != wxNOT_FOUND) p.meter = out.meter->GetSelection();
        if (out.source->GetSelection() != wxNOT_FOUND) p.source = out.source->GetSelection();
        if (const auto v = WizardFieldCheck::Number(out.perUnit->GetValue().utf8_string(), kLowestPerUnit, kHighestPerUnit))
            p.pulsesPerUnit = *v;
        if (const auto v = WizardFieldCheck::Integer(out.maxFrequency->GetValue().utf8_string(), 0, WizardPageRules::kMaxFrequency))
            p.maxFrequency = *v;
    }
}

bool CDX3PulseOutDlg::CheckFields() {
    for (const Output& out : outputs_) {
        std::string refusal;
        if (!WizardFieldCheck::Number(out.perUnit->GetValue().utf8_string(), kLowestPerUnit, kHighestPerUnit, &refusal))
            return Refuse(refusal, out.perUnit);
        if (!CheckInteger(out.maxFrequency, 0, WizardPageRules::kMaxFrequency)) return false;
    }
    return true;
}

}  // namespace qs
