#include "app/tools/wizard/CDX3ArmDetailDlg.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/common/WxText.h"
#include "appmodel/wizard/WizardTexts.h"

namespace qs {

namespace {

constexpr const char* kBoxTexts[CDX3ArmDetailDlg::kBoxCount] = {
    "Product Pump Output",       "Block Valve Outputs",       "Block Valve Feedback",   "Dual Pulse Transmitter",
    "Transmitter Security (/A)", "Remote Start Input",        "Remote Stop Input",      "Transaction Reset Input",
    "Ticket Tray Switch",        "1st / 2nd High Flow Switch", "Permissive Input",      "2nd Permissive Input",
};

// The arm's inputs in the order of the boxes from kRemoteStart on.
std::array<bool*, 7> InputsOf(WizardAnswers::ArmInputs& in) {
    return {&in.remoteStart, &in.remoteStop, &in.transactionReset, &in.ticketTray, &in.highFlow, &in.permissive,
            &in.permissive2};
}

}  // namespace

CDX3ArmDetailDlg::CDX3ArmDetailDlg(CDX3PropertySheet& sheet, int index) : CDX3WizardPage(sheet, index) {
    wxSizer* column = Column();
    const int gap = FromDIP(8);
    caption_ = new wxStaticText(this, wxID_ANY, ToWx(Rules().ArmDetailCaption(Page().arm)));
    caption_->SetFont(caption_->GetFont().Bold());
    type_ = new wxStaticText(this, wxID_ANY, "");
    column->Add(caption_, 0, wxBOTTOM, gap / 2);
    column->Add(type_, 0, wxBOTTOM, gap);
    for (int b = 0; b < kBoxCount; ++b) boxes_[static_cast<size_t>(b)] = new wxCheckBox(this, wxID_ANY, kBoxTexts[b]);
    // Outputs and transmitters on the left, inputs on the right.
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* right = new wxBoxSizer(wxVERTICAL);
    for (int b = 0; b < kBoxCount; ++b)
        (b < kRemoteStart ? left : right)->Add(boxes_[static_cast<size_t>(b)], 0, wxBOTTOM, gap / 2);
    columns->Add(left, 0, wxRIGHT, 3 * gap);
    columns->Add(right);
    column->Add(columns);

    boxes_[kDualPulse]->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        // The security box follows the dual-pulse box as it is ticked.
        Answers().dualPulse = boxes_[kDualPulse]->GetValue();
        boxes_[kSecurity]->Enable(Rules().SecurityEnabled(Page().arm));
    });
}

std::string CDX3ArmDetailDlg::Caption() const { return "New Duravane III Wizard - Arm Detail"; }

void CDX3ArmDetailDlg::Load() {
    const int arm = Page().arm;
    const size_t a = static_cast<size_t>(arm);
    Rules().PrepareArmDetail(arm);
    WizardAnswers& answers = Answers();
    ShowText(type_, WizardTexts::ArmTypeText(Model().TypeOf(arm)));
    const bool blockValves = Rules().BlockValvesEnabled(arm);
    boxes_[kDualPulse]->Enable(WizardPageRules::DualPulseEnabled(arm));
    boxes_[kSecurity]->Enable(Rules().SecurityEnabled(arm));
    boxes_[kBlockValveOutputs]->Enable(blockValves);
    boxes_[kBlockValveFeedback]->Enable(blockValves);
    boxes_[kDualPulse]->SetValue(answers.dualPulse);
    boxes_[kSecurity]->SetValue(answers.transmitterSecurity);
    boxes_[kBlockValveOutputs]->SetValue(blockValves && answers.blockValveOutputs[a] > 0);
    boxes_[kBlockValveFeedback]->SetValue(answers.blockValveFeedback[a]);
    boxes_[kProductPump]->SetValue(answers.productPump[a]);
    const auto inputs = InputsOf(answers.armInputs[a]);
    for (size_t i = 0; i < inputs.size(); ++i) boxes_[kRemoteStart + i]->SetValue(*inputs[i]);
}

void CDX3ArmDetailDlg::Store() {
    const size_t a = static_cast<size_t>(Page().arm);
    WizardAnswers& answers = Answers();
    // Disabled boxes keep their answers.
    if (boxes_[kDualPulse]->IsEnabled()) answers.dualPulse = boxes_[kDualPulse]->GetValue();
    if (boxes_[kSecurity]->IsEnabled()) answers.transmitterSecurity = boxes_[kSecurity]->GetValue();
    if (boxes_[kBlockValveOutputs]->IsEnabled()) answers.blockValveOutputs[a] = boxes_[kBlockValveOutputs]->GetValue() ? 1 : 0;
    if (boxes_[kBlockValveFeedback]->IsEnabled()) answers.blockValveFeedback[a] = boxes_[kBlockValveFeedback]->GetValue();
    answers.productPump[a] = boxes_[kProductPump]->GetValue();
    const auto inputs = InputsOf(answers.armInputs[a]);
    for (size_t i = 0; i < inputs.size(); ++i) *inputs[i] = boxes_[kRemoteStart + i]->GetValue();
}

}  // namespace qs
