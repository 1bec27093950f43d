#include "app/sidedocs/translations/CTransOptions.h"

#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/CodePageText.h"
#include "app/shell/ContextHelp.h"
#include "platform/UiServices.h"
#include "programdata/CodePageTable.h"

namespace qs {

CTransOptions::CTransOptions(wxWindow* parent, const std::string& name, int characterSet, const UiServices& ui)
    : StandardDialog(parent, wxID_ANY, "Translation Options"), name_(name), characterSet_(characterSet), ui_(ui) {
    ContextHelp::SetId(this, kHelpId);
    const int gap = Gap();
    auto* grid = new wxFlexGridSizer(2, gap, gap);
    grid->AddGrowableCol(1);
    grid->Add(new wxStaticText(this, wxID_ANY, "Translation Name:"), 0, wxALIGN_CENTER_VERTICAL);
    nameField_ = new wxTextCtrl(this, kNameId, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(260), -1));
    grid->Add(nameField_, 1, wxEXPAND);
    grid->Add(new wxStaticText(this, wxID_ANY, "Character Set:"), 0, wxALIGN_CENTER_VERTICAL);
    setList_ = new wxChoice(this, kCharacterSetId);
    for (const CodePageRow& row : CodePageTable::Rows()) setList_->Append(row.listText);
    grid->Add(setList_, 1, wxEXPAND);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 1, wxEXPAND | wxALL, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);
}

bool CTransOptions::TransferDataToWindow() {
    nameField_->ChangeValue(FromCodePage(name_, characterSet_));
    nameField_->SetMaxLength(kMaxNameBytes);
    nameField_->DiscardEdits();
    setList_->SetSelection(CodePageTable::IsValidIndex(characterSet_) ? characterSet_ : 0);
    return wxDialog::TransferDataToWindow();
}

bool CTransOptions::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    const int chosen = setList_->GetSelection() >= 0 ? setList_->GetSelection() : 0;
    std::string bytes = name_;
    // An untouched name keeps its bytes, whichever set is chosen now.
    if (nameField_->IsModified()) {
        const std::optional<std::string> converted = ToCodePage(nameField_->GetValue(), chosen);
        if (!converted) {
            ui_.Message(kNotConvertibleMessage, MB_OK | MB_ICONEXCLAMATION);
            nameField_->SetFocus();
            return false;
        }
        bytes = *converted;
    }
    if (bytes.size() > kMaxNameBytes) {
        ui_.Message("The name is " + std::to_string(bytes.size()) + " bytes long in this character set; at most " +
                        std::to_string(kMaxNameBytes) + " are kept.",
                    MB_OK | MB_ICONEXCLAMATION);
        nameField_->SetFocus();
        return false;
    }
    name_ = std::move(bytes);
    characterSet_ = chosen;
    return true;
}

}  // namespace qs
