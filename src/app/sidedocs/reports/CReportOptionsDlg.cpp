#include "app/sidedocs/reports/CReportOptionsDlg.h"

#include <charconv>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/shell/ContextHelp.h"
#include "platform/UiServices.h"
#include "programdata/CodePageTable.h"
#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportPageSize.h"

namespace qs {

namespace {

// A whole number as typed; anything else (or one too large for an int) reads as 0, which
// every range here refuses.
int ReadNumber(const wxTextCtrl* box) {
    const std::string text = box->GetValue().Strip(wxString::both).utf8_string();
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return 0;
    return value;
}

}  // namespace

CReportOptionsDlg::CReportOptionsDlg(wxWindow* parent, const UiServices& ui)
    : StandardDialog(parent, wxID_ANY, "Report Options"), ui_(ui) {
    const int gap = Gap();
    auto* top = new wxBoxSizer(wxVERTICAL);

    auto* titleRow = new wxBoxSizer(wxHORIZONTAL);
    titleRow->Add(new wxStaticText(this, wxID_ANY, "Report Title:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    title_ = new wxTextCtrl(this, kTitleId);
    title_->SetMaxLength(CReport::kMaxTitleLength);
    title_->SetMinSize(wxSize(FromDIP(260), -1));
    titleRow->Add(title_, 1);
    top->Add(titleRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, Margin());

    auto* sizeBox = new wxStaticBoxSizer(wxVERTICAL, this, "Report Page Size:");
    sizes_[kReportPageDefault] = new wxRadioButton(sizeBox->GetStaticBox(), kDefaultId,
                                                   "Default (80 columns x ~60 lines per page)", wxDefaultPosition,
                                                   wxDefaultSize, wxRB_GROUP);
    sizes_[kReportPageWide] = new wxRadioButton(sizeBox->GetStaticBox(), kWideId, "Wide (132 columns x ~60 lines per page)");
    sizes_[kReportPageCustom] = new wxRadioButton(sizeBox->GetStaticBox(), kCustomId, "Custom:");
    sizeBox->Add(sizes_[0], 0, wxBOTTOM, gap / 2);
    sizeBox->Add(sizes_[1], 0, wxBOTTOM, gap / 2);
    auto* customRow = new wxBoxSizer(wxHORIZONTAL);
    customRow->Add(sizes_[2], 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    columns_ = new wxTextCtrl(sizeBox->GetStaticBox(), kColumnsId);
    lines_ = new wxTextCtrl(sizeBox->GetStaticBox(), kLinesId);
    for (auto* box : {columns_, lines_}) box->SetMinSize(wxSize(FromDIP(50), -1));
    customRow->Add(columns_, 0, wxRIGHT, gap);
    customRow->Add(new wxStaticText(sizeBox->GetStaticBox(), wxID_ANY, "columns by"), 0,
                   wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    customRow->Add(lines_, 0, wxRIGHT, gap);
    customRow->Add(new wxStaticText(sizeBox->GetStaticBox(), wxID_ANY, "lines"), 0, wxALIGN_CENTER_VERTICAL);
    sizeBox->Add(customRow, 0);
    top->Add(sizeBox, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, Margin());

    auto* grid = new wxFlexGridSizer(2, gap / 2, gap);
    grid->Add(new wxStaticText(this, wxID_ANY, "Number of Pages in Report:"), 0, wxALIGN_CENTER_VERTICAL);
    pages_ = new wxTextCtrl(this, kPagesId);
    pages_->SetMinSize(wxSize(FromDIP(60), -1));
    grid->Add(pages_, 0);
    grid->Add(new wxStaticText(this, wxID_ANY, "End with Form Feed:"), 0, wxALIGN_CENTER_VERTICAL);
    formFeed_ = new wxCheckBox(this, kFormFeedId, wxEmptyString);
    grid->Add(formFeed_, 0);
    grid->Add(new wxStaticText(this, wxID_ANY, "Character Set to use in Report Editor:"), 0, wxALIGN_CENTER_VERTICAL);
    charset_ = new wxChoice(this, kCharsetId);
    // A report's texts are edited in the first five code pages.
    for (int row = 0; row < CReport::kCharsetCount; ++row) charset_->Append(CodePageTable::Row(row).listText);
    grid->Add(charset_, 0);
    top->Add(grid, 0, wxALL, Margin());

    AddButtonRow(top, wxOK | wxCANCEL | wxHELP);
    FinishLayout(top);

    ContextHelp::SetId(this, kHelpId);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ContextHelp::ShowTopic(ui_, kHelpId); }, wxID_HELP);
    for (int choice = 0; choice < 3; ++choice)
        sizes_[choice]->Bind(wxEVT_RADIOBUTTON, [this, choice](wxCommandEvent&) { OnSizeChoice(choice); });
}

bool CReportOptionsDlg::TransferDataToWindow() {
    pageChoice = ReportPageSize::ChoiceFor(columns, linesPerPage);
    title_->ChangeValue(wxString::FromUTF8(title));
    sizes_[pageChoice]->SetValue(true);
    columns_->ChangeValue(std::to_string(columns));
    lines_->ChangeValue(std::to_string(linesPerPage));
    pages_->ChangeValue(std::to_string(pages));
    formFeed_->SetValue(formFeed);
    charset_->SetSelection(charset >= 0 && charset < CReport::kCharsetCount ? charset : 0);
    EnableCustom();
    return true;
}

bool CReportOptionsDlg::TransferDataFromWindow() {
    const int newColumns = ReadNumber(columns_);
    const int newLines = ReadNumber(lines_);
    const int newPages = ReadNumber(pages_);
    const ReportPageCheck check = ValidateReportPageSize(newColumns, newLines, newPages);
    if (!check.Ok()) {
        wxTextCtrl* box = check.field == ReportPageField::Columns ? columns_
                          : check.field == ReportPageField::Lines ? lines_
                                                                   : pages_;
        ui_.Message(check.message, MB_OK | MB_ICONEXCLAMATION);
        box->SetFocus();
        box->SelectAll();
        return false;
    }
    title = title_->GetValue().utf8_string().substr(0, CReport::kMaxTitleLength);
    for (int choice = 0; choice < 3; ++choice)
        if (sizes_[choice]->GetValue()) pageChoice = choice;
    columns = newColumns;
    linesPerPage = newLines;
    pages = newPages;
    formFeed = formFeed_->GetValue();
    charset = charset_->GetSelection() < 0 ? 0 : charset_->GetSelection();
    return true;
}

void CReportOptionsDlg::OnSizeChoice(int choice) {
    pageChoice = choice;
    if (choice != kReportPageCustom) {
        columns_->ChangeValue(std::to_string(ReportPageSize::ColumnsOf(static_cast<ReportPageChoice>(choice))));
        lines_->ChangeValue(std::to_string(ReportPageSize::kStandardLines));
    }
    EnableCustom();
}

void CReportOptionsDlg::EnableCustom() {
    const bool custom = sizes_[kReportPageCustom]->GetValue();
    columns_->Enable(custom);
    lines_->Enable(custom);
}

}  // namespace qs
