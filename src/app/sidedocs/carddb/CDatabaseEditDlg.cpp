#include "app/sidedocs/carddb/CDatabaseEditDlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/CodePageText.h"
#include "app/shell/ContextHelp.h"
#include "app/sidedocs/carddb/CHIDFormatDlg.h"
#include "platform/UiServices.h"

namespace qs {

namespace {

// Card records are kept in the first code page of the table (Windows-1252).
constexpr int kCodePage = 0;

constexpr const char* kUnstorableMessage =
    "The text holds characters a card record cannot keep (the database uses the Latin-1 characters).";

}  // namespace

CDatabaseEditDlg::CDatabaseEditDlg(wxWindow* parent, CardRecordForm& form, const wxFont& keyFont, const UiServices& ui)
    : StandardDialog(parent, wxID_ANY, "Edit Database Record"), form_(form), ui_(ui) {
    const int gap = Gap();
    auto* top = new wxBoxSizer(wxVERTICAL);

    auto* keyRow = new wxFlexGridSizer(2, gap / 2, gap);
    keyRow->AddGrowableCol(1);
    keyRow->Add(new wxStaticText(this, wxID_ANY, "Raw Card Data:"), 0, wxALIGN_CENTER_VERTICAL);
    key_ = new wxTextCtrl(this, wxID_ANY);
    key_->SetMinSize(wxSize(FromDIP(260), -1));
    if (keyFont.IsOk()) key_->SetFont(keyFont);
    keyRow->Add(key_, 1, wxEXPAND);
    keyRow->Add(new wxStaticText(this, wxID_ANY, "PIN #:"), 0, wxALIGN_CENTER_VERTICAL);
    pin_ = new wxTextCtrl(this, wxID_ANY);
    pin_->SetMinSize(wxSize(FromDIP(80), -1));
    keyRow->Add(pin_, 0);
    top->Add(keyRow, 0, wxEXPAND | wxALL, Margin());

    hid_ = new wxButton(this, wxID_ANY, "< Enter in HID Format...");
    top->Add(hid_, 0, wxLEFT | wxRIGHT, Margin());

    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Additional data fields associated with this card");
    auto* grid = new wxFlexGridSizer(2, gap / 2, gap);
    grid->AddGrowableCol(1);
    for (int n = 1; n <= 3; ++n) {
        grid->Add(new wxStaticText(group->GetStaticBox(), wxID_ANY, "Field " + std::to_string(n) + ":"), 0,
                  wxALIGN_CENTER_VERTICAL);
        fields_[n - 1] = new wxTextCtrl(group->GetStaticBox(), wxID_ANY);
        grid->Add(fields_[n - 1], 1, wxEXPAND);
    }
    group->Add(grid, 1, wxEXPAND | wxALL, gap);
    top->Add(group, 0, wxEXPAND | wxALL, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);
    ContextHelp::SetId(this, kHelpId);

    runHid_ = [this](HidCardCode& code) {
        CHIDFormatDlg dialog(this, code, ui_);
        return dialog.ShowModal() == wxID_OK;
    };
    hid_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnHidFormat(); });
    Bind(wxEVT_BUTTON, &CDatabaseEditDlg::OnOk, this, wxID_OK);
    key_->SetFocus();
}

bool CDatabaseEditDlg::TransferDataToWindow() {
    key_->ChangeValue(FromCodePage(form_.key, kCodePage));
    pin_->ChangeValue(FromCodePage(form_.pin, kCodePage));
    const std::string* texts[3] = {&form_.field1, &form_.field2, &form_.field3};
    for (int i = 0; i < 3; ++i) fields_[i]->ChangeValue(FromCodePage(*texts[i], kCodePage));
    return true;
}

std::optional<CardRecordForm> CDatabaseEditDlg::ReadForm() {
    CardRecordForm form;
    std::string* texts[5] = {&form.key, &form.pin, &form.field1, &form.field2, &form.field3};
    wxTextCtrl* controls[5] = {key_, pin_, fields_[0], fields_[1], fields_[2]};
    for (int i = 0; i < 5; ++i) {
        std::optional<std::string> bytes = ToCodePage(controls[i]->GetValue(), kCodePage);
        if (!bytes) {
            ui_.Message(kUnstorableMessage, MB_OK | MB_ICONEXCLAMATION);
            controls[i]->SetFocus();
            return std::nullopt;
        }
        *texts[i] = std::move(*bytes);
    }
    return form;
}

void CDatabaseEditDlg::OnOk(wxCommandEvent&) {
    const std::optional<CardRecordForm> form = ReadForm();
    if (!form) return;
    // The record's length is checked on the texts as they stand, before any other check.
    if (auto message = form->CheckLength()) {
        ui_.Message(*message, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AcceptAndClose();
}

bool CDatabaseEditDlg::TransferDataFromWindow() {
    std::optional<CardRecordForm> form = ReadForm();
    if (!form) return false;
    struct Step {
        std::optional<std::string> message;
        wxTextCtrl* control;
    };
    for (const Step& step : {Step{CardRecordForm::CheckKey(form->key), key_},
                             Step{CardRecordForm::CheckPin(form->pin), pin_}, Step{form->CheckFields(), fields_[0]}}) {
        if (step.message) {
            ui_.Message(*step.message, MB_OK | MB_ICONEXCLAMATION);
            step.control->SetFocus();
            step.control->SelectAll();
            return false;
        }
    }
    form_ = std::move(*form);
    return true;
}

void CDatabaseEditDlg::OnHidFormat() {
    HidCardCode code;
    const wxString typed = key_->GetValue();
    code.value = typed.empty() ? std::string(HidCardCode::kDefaultValue) : typed.utf8_string();
    if (!runHid_ || !runHid_(code)) return;
    key_->ChangeValue(code.value);
    form_.key = code.value;
}

}  // namespace qs
