#include "app/sidedocs/reports/CReportDestDlg.h"

#include <wx/button.h>
#include <wx/radiobox.h>
#include <wx/sizer.h>

#include "app/shell/ContextHelp.h"

namespace qs {

CReportDestDlg::CReportDestDlg(wxWindow* parent, const UiServices& ui) : StandardDialog(parent, wxID_ANY, "Select Report") {
    wxArrayString rows;
    for (const char* name : ReportDestination::kNames) rows.Add(name);
    choices_ = new wxRadioBox(this, kChoicesId, wxEmptyString, wxDefaultPosition, wxDefaultSize, rows, 1,
                              wxRA_SPECIFY_COLS);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(choices_, 1, wxEXPAND | wxALL, Margin());
    AddButtonRow(top, wxOK | wxCANCEL | wxHELP);
    FinishLayout(top);

    Bind(
        wxEVT_BUTTON,
        [this, &ui](wxCommandEvent&) {
            if (const int id = ContextHelp::FindFrom(this)) ContextHelp::ShowTopic(ui, id);
            else ContextHelp::ShowContents(ui);
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

std::optional<int> CReportDestDlg::Choose(wxWindow* parent, const UiServices& ui) {
    CReportDestDlg dialog(parent, ui);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return dialog.chosenRow;
}

}  // namespace qs
