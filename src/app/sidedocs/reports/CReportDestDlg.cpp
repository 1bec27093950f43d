#include "app/sidedocs/reports/CReportDestDlg.h"

#include <wx/button.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>

#include "app/shell/ContextHelp.h"

namespace qs {

CReportDestDlg::CReportDestDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Select Report") {
    wxArrayString rows;
    for (const char* name : ReportDestination::kNames) rows.Add(name);
    choices_ = new wxRadioBox(this, kChoicesId, wxEmptyString, wxDefaultPosition, wxDefaultSize, rows, 1,
                              wxRA_SPECIFY_COLS);
    const int gap = FromDIP(12);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(choices_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, gap);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL | wxHELP), 0, wxEXPAND | wxALL, gap);
    SetSizerAndFit(top);
    CentreOnParent();

    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (const int id = ContextHelp::FindFrom(this)) ContextHelp::ShowTopic(id);
            else ContextHelp::ShowContents();
        },
        wxID_HELP);
}

bool CReportDestDlg::TransferDataToWindow() {
    choices_->SetSelection(ReportDestination::IsRow(chosenRow) ? chosenRow : ReportDestination::kDefaultRow);
    return wxDialog::TransferDataToWindow();
}

bool CReportDestDlg::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    chosenRow = choices_->GetSelection();
    return true;
}

std::optional<int> CReportDestDlg::Choose(wxWindow* parent) {
    CReportDestDlg dialog(parent);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.chosenRow;
}

}  // namespace qs
