#include "app/sidedocs/equations/CEquationDlg.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/shell/ContextHelp.h"
#include "app/tools/CRegisterBrowseDlg.h"
#include "sidedocs/equations/EquationDestinations.h"

namespace qs {

CEquationDlg::CEquationDlg(wxWindow* parent, const CEquation* line, const EquationContext& context, const UiServices& ui)
    : StandardDialog(parent, wxID_ANY, "Edit Equation Line"), form_(line, context), context_(context), ui_(ui) {
    ContextHelp::SetId(this, kHelpId);
    pickRegister = [this] {
        return PickRegister(this, context_.dictionary, ui_, CRegisterBrowseDlg::Options{nullptr, kPickerArms, false});
    };
    const int gap = Gap();
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* head = new wxBoxSizer(wxHORIZONTAL);
    destination_ = new wxChoice(this, kDestinationId);
    for (int type = 0; type < EquationDestinations::kTypes; ++type) {
        destination_->Append(EquationLineForm::DestinationRowText(type));
    }
    head->Add(destination_, 1, wxEXPAND | wxRIGHT, gap);
    head->Add(new wxStaticText(this, wxID_ANY, "Index:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    index_ = new wxTextCtrl(this, kIndexId, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(70), -1));
    index_->SetMaxLength(6);
    head->Add(index_, 0);
    top->Add(head, 0, wxEXPAND | wxALL, Margin());
    expression_ = new wxTextCtrl(this, kExpressionId, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(520), -1));
    expression_->SetMaxLength(EquationLineForm::kMaxExpressionLength);
    top->Add(expression_, 0, wxEXPAND | wxLEFT | wxRIGHT, Margin());
    lineText_ = new wxStaticText(this, kLineTextId, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxST_NO_AUTORESIZE);
    top->Add(lineText_, 0, wxEXPAND | wxALL, Margin());
    auto* keys = new wxGridSizer(10, gap / 2, gap / 2);
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        const char* caption = kKeys[i];
        auto* key = new wxButton(this, kFirstKeyId + static_cast<int>(i), caption, wxDefaultPosition, wxDefaultSize,
                                 wxBU_EXACTFIT);
        key->Bind(wxEVT_BUTTON, [this, caption](wxCommandEvent&) { PressKey(caption); });
        keys->Add(key, 0, wxEXPAND);
    }
    top->Add(keys, 0, wxEXPAND | wxLEFT | wxRIGHT, Margin());
    auto* foot = new wxBoxSizer(wxHORIZONTAL);
    auto* pick = new wxButton(this, kRegisterId, "@&Register...");
    pick->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRegister(); });
    foot->Add(pick, 0, wxRIGHT, gap);
    disable_ = new wxCheckBox(this, kDisableId, "Disable");
    foot->Add(disable_, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(foot, 0, wxALL, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);

    destination_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) { ChooseDestination(e.GetSelection()); });
    index_->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
        TakeIndex();
        e.Skip();
    });
    disable_->SetValue(form_.Line().disable != 0);
    ShowForm();
    if (line) {
        expression_->SetFocus();
        expression_->SelectAll();
    }
}

void CEquationDlg::ShowForm() {
    const CEquation& line = form_.Line();
    if (EquationDestinations::Valid(line.type)) destination_->SetSelection(line.type);
    index_->ChangeValue(std::to_string(line.index));
    index_->Enable(form_.IndexEditable());
    expression_->ChangeValue(wxString::FromUTF8(form_.Expression()));
    lineText_->SetLabelText(wxString::FromUTF8(form_.LineText()));
}

void CEquationDlg::TakeIndex() {
    long value = 0;
    if (!index_->GetValue().ToLong(&value)) value = form_.Line().index;
    form_.SetExpression(expression_->GetValue().utf8_string());
    form_.SetIndex(static_cast<int>(std::clamp<long>(value, INT16_MIN, INT16_MAX)));
    ShowForm();
}

void CEquationDlg::ChooseDestination(int type) {
    form_.SetExpression(expression_->GetValue().utf8_string());
    form_.SetDestination(type);
    ShowForm();
}

void CEquationDlg::PressKey(const char* caption) {
    long from = 0;
    long to = 0;
    expression_->GetSelection(&from, &to);
    form_.SetExpression(expression_->GetValue().utf8_string());
    const size_t caret = form_.InsertAtCaret(static_cast<size_t>(std::max(0L, from)), static_cast<size_t>(std::max(0L, to)),
                                             caption);
    ShowForm();
    expression_->SetInsertionPoint(static_cast<long>(caret));
}

void CEquationDlg::InsertRegister(uint32_t id) {
    long from = 0;
    long to = 0;
    expression_->GetSelection(&from, &to);
    form_.SetExpression(expression_->GetValue().utf8_string());
    const size_t caret =
        form_.InsertRegister(static_cast<size_t>(std::max(0L, from)), static_cast<size_t>(std::max(0L, to)), id);
    ShowForm();
    expression_->SetInsertionPoint(static_cast<long>(caret));
}

void CEquationDlg::OnRegister() {
    const std::optional<PickedRegister> picked = pickRegister ? pickRegister() : std::nullopt;
    if (picked) InsertRegister(picked->id);
}

bool CEquationDlg::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    TakeIndex();
    form_.SetDisable(disable_->GetValue());
    form_.SetExpression(expression_->GetValue().utf8_string());
    const bool ok = form_.Accept();
    ShowForm();
    if (!ok) expression_->SetFocus();
    return ok;
}

}  // namespace qs
