#include "app/common/CCommDlg.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "appmodel/common/CommDlgModel.h"

namespace qs {

CCommDlg::CCommDlg(const std::string& portName, SerialSettings* settings, wxWindow* parent)
    : StandardDialog(parent, wxID_ANY, wxString::FromUTF8(CommDlgModel::Caption(portName))), settings_(settings) {
    auto* grid = new wxFlexGridSizer(2, wxSize(Margin(), Gap()));
    grid->AddGrowableCol(1);

    grid->Add(new wxStaticText(this, wxID_ANY, "&Baud Rate:"), 0, wxALIGN_CENTER_VERTICAL);
    baudList_ = new wxChoice(this, wxID_ANY);
    for (const char* text : CommDlgModel::BaudTexts()) baudList_->Append(text);
    grid->Add(baudList_, 1, wxEXPAND);

    grid->Add(new wxStaticText(this, wxID_ANY, "&Data/Parity:"), 0, wxALIGN_CENTER_VERTICAL);
    formatList_ = new wxChoice(this, wxID_ANY);
    for (const char* text : CommDlgModel::FormatTexts()) formatList_->Append(text);
    grid->Add(formatList_, 1, wxEXPAND);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 1, wxEXPAND | wxALL, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);
}

bool CCommDlg::TransferDataToWindow() {
    if (settings_) {
        baudIndex = CommDlgModel::BaudIndex(settings_->baudRate);
        formatIndex = CommDlgModel::FormatIndex(*settings_);
    }
    baudList_->SetSelection(baudIndex);
    formatList_->SetSelection(formatIndex);
    return wxDialog::TransferDataToWindow();
}

bool CCommDlg::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    baudIndex = baudList_->GetSelection();
    formatIndex = formatList_->GetSelection();
    return ApplySettings();
}

bool CCommDlg::ApplySettings() {
    if (!settings_) return true;
    return CommDlgModel::Apply(baudIndex, formatIndex, *settings_);
}

}  // namespace qs
