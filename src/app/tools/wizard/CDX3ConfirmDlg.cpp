#include "app/tools/wizard/CDX3ConfirmDlg.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

namespace qs {

CDX3ConfirmDlg::CDX3ConfirmDlg(CDX3PropertySheet& sheet, int index) : CDX3WizardPage(sheet, index) {
    wxSizer* column = Column();
    const int gap = FromDIP(8);
    inputs_ = new wxStaticText(this, wxID_ANY, "");
    outputs_ = new wxStaticText(this, wxID_ANY, "");
    column->Add(inputs_);
    column->Add(outputs_, 0, wxBOTTOM, gap);
    for (auto& arm : arms_) {
        arm = new wxStaticText(this, wxID_ANY, "");
        column->Add(arm, 0, wxBOTTOM, gap / 4);
    }
    column->AddSpacer(gap);
    column->Add(new wxStaticText(this, wxID_ANY, "Click Finish to initialize and display the new Duravane III data file"));
}

std::string CDX3ConfirmDlg::Caption() const { return "New Duravane III Wizard Confirmation"; }

void CDX3ConfirmDlg::Load() {
    ShowText(inputs_, Model().InputsUsedText());
    ShowText(outputs_, Model().OutputsUsedText());
    const std::vector<std::string> lines = Rules().ConfirmArmLines();
    for (size_t a = 0; a < arms_.size() && a < lines.size(); ++a) ShowText(arms_[a], lines[a]);
}

}  // namespace qs
