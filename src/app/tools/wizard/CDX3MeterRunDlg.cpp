#include "app/tools/wizard/CDX3MeterRunDlg.h"

#include <wx/choice.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/common/WxText.h"
#include "appmodel/wizard/WizardTexts.h"

namespace qs {

namespace {

using A = WizardAnswers;
using R = WizardPageRules;

wxRadioBox* Group(wxWindow* parent, const char* title, std::initializer_list<const char*> rows) {
    wxArrayString texts;
    for (const char* row : rows) texts.Add(row);
    return new wxRadioBox(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, texts, 1, wxRA_SPECIFY_COLS);
}

}  // namespace

CDX3MeterRunDlg::CDX3MeterRunDlg(CDX3PropertySheet& sheet, int index) : CDX3WizardPage(sheet, index) {
    wxSizer* column = Column();
    const int gap = FromDIP(8);
    caption_ = new wxStaticText(this, wxID_ANY, "");
    caption_->SetFont(caption_->GetFont().Bold());
    type_ = new wxStaticText(this, wxID_ANY, "");
    column->Add(caption_, 0, wxBOTTOM, gap / 2);
    column->Add(type_, 0, wxBOTTOM, gap);

    valve_ = Group(this, "Control Valve Type", {"Digital (Brask 210)", "Two Stage", "Analog"});
    groups_[R::kTemperature] = Group(this, "Temperature Transducer", {"N/A", "4-20mA", "1-5V", "RTD", "Share:"});
    groups_[R::kDensity] = Group(this, "Density Transducer", {"N/A", "4-20mA", "1-5V", "Freq.", "Share:"});
    groups_[R::kPressure] = Group(this, "Pressure Transducer", {"N/A", "4-20mA", "1-5V", "Share:"});
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(valve_, 0, wxRIGHT, gap);
    for (int k = 0; k < kKinds; ++k) {
        auto* stack = new wxBoxSizer(wxVERTICAL);
        shares_[static_cast<size_t>(k)] = new wxChoice(this, wxID_ANY);
        shares_[static_cast<size_t>(k)]->SetMinSize(wxSize(shares_[static_cast<size_t>(k)]->GetTextExtent("Arm6 Mtr6").x * 2, -1));
        stack->Add(groups_[static_cast<size_t>(k)], 0, wxEXPAND | wxBOTTOM, gap / 2);
        stack->Add(shares_[static_cast<size_t>(k)], 0, wxEXPAND);
        row->Add(stack, 0, wxRIGHT, gap);
        groups_[static_cast<size_t>(k)]->Bind(wxEVT_RADIOBOX, [this](wxCommandEvent&) { EnableShareLists(); });
    }
    column->Add(row);
}

std::string CDX3MeterRunDlg::Caption() const { return "New Duravane III Wizard - Meter Run"; }

int CDX3MeterRunDlg::ShareRow(int kind) { return kind == R::kPressure ? A::kPressureShared : A::kShared; }

int& CDX3MeterRunDlg::Choice(int kind) const {
    A::MeterRun& run = Answers().meters[static_cast<size_t>(Page().arm)][static_cast<size_t>(Page().meter)];
    return kind == R::kTemperature ? run.temperature : kind == R::kDensity ? run.density : run.pressure;
}

int& CDX3MeterRunDlg::Share(int kind) const {
    A::MeterRun& run = Answers().meters[static_cast<size_t>(Page().arm)][static_cast<size_t>(Page().meter)];
    return kind == R::kTemperature ? run.temperatureShare : kind == R::kDensity ? run.densityShare : run.pressureShare;
}

void CDX3MeterRunDlg::EnableShareLists() {
    for (int k = 0; k < kKinds; ++k)
        shares_[static_cast<size_t>(k)]->Enable(groups_[static_cast<size_t>(k)]->GetSelection() == ShareRow(k));
}

void CDX3MeterRunDlg::Load() {
    const int arm = Page().arm, meter = Page().meter;
    Rules().PrepareMeterRun(arm, meter);
    ShowText(caption_, Rules().MeterRunCaption(arm, meter));
    ShowText(type_, WizardTexts::ArmTypeText(Model().TypeOf(arm)));
    valve_->SetSelection(Answers().meters[static_cast<size_t>(arm)][static_cast<size_t>(meter)].valve);
    for (int k = 0; k < kKinds; ++k) {
        const size_t i = static_cast<size_t>(k);
        items_[i] = Rules().ShareCandidates(static_cast<R::ShareKind>(k), arm, meter);
        wxArrayString texts;
        for (const auto& item : items_[i]) texts.Add(ToWx(item.text));
        shares_[i]->Set(texts);
        const int row = R::ShareRow(items_[i], Share(k));
        if (row >= 0) shares_[i]->SetSelection(row);
        groups_[i]->Enable(static_cast<unsigned>(ShareRow(k)), !items_[i].empty());
        groups_[i]->SetSelection(Choice(k));
    }
    groups_[R::kDensity]->Enable(A::kRtdOrFrequency, Rules().FrequencyEnabled(arm, meter));
    EnableShareLists();
}

void CDX3MeterRunDlg::Store() {
    const size_t a = static_cast<size_t>(Page().arm), m = static_cast<size_t>(Page().meter);
    Answers().meters[a][m].valve = valve_->GetSelection();
    for (int k = 0; k < kKinds; ++k) {
        const size_t i = static_cast<size_t>(k);
        Choice(k) = groups_[i]->GetSelection();
        const int row = shares_[i]->GetSelection();
        const bool shared = Choice(k) == ShareRow(k) && row >= 0 && row < static_cast<int>(items_[i].size());
        Share(k) = shared ? items_[i][static_cast<size_t>(row)].data : 0;
    }
}

}  // namespace qs
