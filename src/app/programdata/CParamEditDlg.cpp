#include "app/programdata/CParamEditDlg.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "app/common/CodePageFont.h"
#include "app/common/CodePageText.h"
#include "app/shell/ContextHelp.h"
#include "platform/UiServices.h"
#include "programdata/CParam.h"
#include "appmodel/programdata/ParamValueCheck.h"

namespace qs {

namespace {

// Wide enough for a 40-character value and for the help texts to wrap into a few lines.
constexpr int kValueWidth = 300;
constexpr int kHelpWidth = 420;

}  // namespace

CParamEditDlg::CParamEditDlg(wxWindow* parent, ParamEditRequest& request, Bare)
    : StandardDialog(parent, wxID_ANY, ParamEditRequest::kTitle), request_(request) {
    ContextHelp::SetId(this, request_.helpId);
}

CParamEditDlg::CParamEditDlg(wxWindow* parent, ParamEditRequest& request) : CParamEditDlg(parent, request, Bare{}) {
    const int gap = Gap();
    const CParam* param = request_.param;
    const bool optionList = param != nullptr && param->HasOptionList();

    auto* column = new wxBoxSizer(wxVERTICAL);
    AddCaption(column, kCaptionId);

    auto* values = new wxFlexGridSizer(2, wxSize(gap, gap));
    values->AddGrowableCol(1);
    values->Add(new wxStaticText(this, wxID_ANY, "Current:"), 0, wxALIGN_CENTER_VERTICAL);
    current_ = new wxTextCtrl(this, kCurrentId, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(kValueWidth), -1),
                              wxTE_READONLY);
    values->Add(current_, 1, wxEXPAND);
    values->Add(new wxStaticText(this, wxID_ANY, "New:"), 0, wxALIGN_CENTER_VERTICAL);
    if (optionList) {
        options_ = new wxChoice(this, kOptionsId);
        for (const std::string& entry : ParamValueCheck::OptionEntries(*param)) options_->Append(Shown(entry));
        values->Add(options_, 1, wxEXPAND);
    } else {
        newValue_ = new wxTextCtrl(this, kNewId);
        values->Add(newValue_, 1, wxEXPAND);
    }
    firstField_ = options_ ? static_cast<wxWindow*>(options_) : newValue_;
    if (request_.valueFont) {
        const wxFont font = CodePageFont(request_.codePage);
        current_->SetFont(font);
        if (newValue_) newValue_->SetFont(font);
        if (options_) options_->SetFont(font);
    }
    values->AddSpacer(0);
    prompt_ = new wxStaticText(this, kPromptId, wxEmptyString);
    values->Add(prompt_, 0);
    column->Add(values, 0, wxEXPAND | wxBOTTOM, gap);

    AddHelp(column);
    AddLevelAndButtons(column);
    Finish(column);
}

wxString CParamEditDlg::Shown(const std::string& bytes) const { return FromCodePage(bytes, request_.codePage); }

wxStaticText* CParamEditDlg::AddCaption(wxSizer* column, int id) {
    caption_ = new wxStaticText(this, id, Shown(request_.caption));
    caption_->SetFont(caption_->GetFont().Bold());
    column->Add(caption_, 0, wxBOTTOM, Margin());
    return caption_;
}

wxStaticText* CParamEditDlg::AddHelp(wxSizer* column) {
    help_ = new wxStaticText(this, kHelpId, Shown(request_.helpText));
    help_->Wrap(FromDIP(kHelpWidth));
    column->Add(help_, 0, wxEXPAND | wxTOP | wxBOTTOM, Gap());
    return help_;
}

void CParamEditDlg::AddLevelAndButtons(wxSizer* column) {
    const int gap = Gap();
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, "Security Level:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    level_ = new wxChoice(this, kLevelId);
    // A locked level offers nothing to choose from.
    if (!request_.levelLocked) {
        for (int i = 1; i <= ParamEditRequest::kLevelChoices; ++i) level_->Append(wxString::Format("Level %d", i));
    }
    level_->Enable(!request_.levelLocked && request_.kind != ParamDialogKind::AdditiveBits);
    level_->SetMinSize(wxSize(level_->GetTextExtent("Level 5").x + FromDIP(48), -1));
    row->Add(level_, 0);
    column->Add(row, 0, wxTOP | wxBOTTOM, gap);

    auto* buttons = CreateStdDialogButtonSizer(wxOK | wxCANCEL | wxHELP);
    column->Add(buttons, 0, wxEXPAND | wxTOP, gap);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ContextHelp::ShowTopic(Ui(), request_.helpId); }, wxID_HELP);
}

void CParamEditDlg::Finish(wxSizer* column) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(column, 1, wxEXPAND | wxALL, Margin());
    FinishLayout(top);
}

void CParamEditDlg::LevelToWindow() {
    const int row = request_.level;
    level_->SetSelection(row >= 0 && row < static_cast<int>(level_->GetCount()) ? row : wxNOT_FOUND);
}

int CParamEditDlg::LevelFromWindow() const {
    if (request_.levelLocked) return -1;
    const int row = level_->GetSelection();
    return row >= 0 && row < ParamEditRequest::kLevelChoices ? row : -1;
}

bool CParamEditDlg::TransferDataToWindow() {
    current_->ChangeValue(Shown(request_.valueText));
    prompt_->SetLabel(Shown(request_.promptText));
    if (options_) {
        const int row = request_.param ? ParamValueCheck::OptionRow(*request_.param, request_.newValue) : -1;
        options_->SetSelection(row >= 0 ? row : wxNOT_FOUND);
    }
    if (newValue_) {
        // Typing stops at the code's length; a stored text that is already longer is shown
        // whole (the field would refuse it), and OK says it is too long.
        const wxString shown = Shown(request_.newValue);
        newValue_->SetMaxLength(0);
        newValue_->ChangeValue(shown);
        newValue_->DiscardEdits();
        if (request_.param != nullptr && request_.param->dataType == CParam::kTypeText) {
            const size_t limit = static_cast<size_t>(ParamValueCheck::TextLimit(*request_.param));
            newValue_->SetMaxLength(static_cast<unsigned long>(std::max(limit, shown.length())));
        }
    }
    LevelToWindow();
    Layout();
    return wxDialog::TransferDataToWindow();
}

void CParamEditDlg::InitDialog() {
    StandardDialog::InitDialog();
    if (!firstField_) return;
    firstField_->SetFocus();
    if (auto* text = dynamic_cast<wxTextCtrl*>(firstField_)) text->SelectAll();
}

bool CParamEditDlg::ValueFromWindow(std::string& value) {
    const CParam* param = request_.param;
    if (param == nullptr) return false;
    if (options_) {
        const std::optional<std::string> chosen =
            ParamValueCheck::CheckOption(Ui(), *param, options_->GetSelection());
        if (!chosen) {
            options_->SetFocus();
            return false;
        }
        value = *chosen;
        return true;
    }
    // An untouched field keeps the bytes it was given: showing them may have needed stand-ins
    // for bytes the code page does not define, and those must not come back.
    std::string bytes = request_.newValue;
    if (newValue_->IsModified()) {
        const std::optional<std::string> converted = ToCodePage(newValue_->GetValue(), request_.codePage);
        if (!converted) {
            Ui().Message(kNotConvertibleMessage, MB_OK | MB_ICONEXCLAMATION);
            newValue_->SetFocus();
            return false;
        }
        bytes = *converted;
    }
    const std::optional<std::string> checked = ParamValueCheck::CheckValue(Ui(), *param, bytes);
    if (!checked) {
        newValue_->SetFocus();
        newValue_->SelectAll();
        return false;
    }
    value = *checked;
    return true;
}

bool CParamEditDlg::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    std::string value;
    if (!ValueFromWindow(value)) return false;
    request_.newValue = value;
    request_.newLevel = LevelFromWindow();
    return true;
}

}  // namespace qs
