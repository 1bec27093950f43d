#include "app/sidedocs/translations/CTextEditDlg.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/common/CodePageText.h"
#include "app/shell/ContextHelp.h"
#include "platform/UiServices.h"
#include "sidedocs/translations/CTranslation.h"

namespace qs {

CTextEditDlg::CTextEditDlg(wxWindow* parent, const std::string& original, const std::string& text, int characterSet,
                           const wxFont& font, const UiServices& ui)
    : StandardDialog(parent, wxID_ANY, "Edit Text", wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      originalText_(original),
      newText_(text),
      characterSet_(characterSet),
      ui_(ui) {
    ContextHelp::SetId(this, kHelpId);
    const int gap = Gap();
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY, "Original Text:"), 0, wxBOTTOM, gap / 2);
    original_ = new wxTextCtrl(this, kOriginalId, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(420), -1),
                               wxTE_READONLY);
    column->Add(original_, 0, wxEXPAND | wxBOTTOM, gap);
    column->Add(new wxStaticText(this, wxID_ANY, "New Text:"), 0, wxBOTTOM, gap / 2);
    newField_ = new wxTextCtrl(this, kNewTextId, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(420), -1));
    column->Add(newField_, 0, wxEXPAND | wxBOTTOM, gap);
    if (font.IsOk()) {
        original_->SetFont(font);
        newField_->SetFont(font);
    }
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(column, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);
    newField_->SetFocus();
}

bool CTextEditDlg::TransferDataToWindow() {
    original_->ChangeValue(FromCodePage(originalText_, 0));
    const wxString shown = FromCodePage(newText_, characterSet_);
    // Typing stops at the limit; a stored text that is already longer is shown whole and OK
    // says it is too long.
    newField_->SetMaxLength(0);
    newField_->ChangeValue(shown);
    newField_->SetMaxLength(static_cast<unsigned long>(std::max<size_t>(CTranslation::kMaxTextBytes, shown.length())));
    newField_->DiscardEdits();
    newField_->SelectAll();
    return wxDialog::TransferDataToWindow();
}

bool CTextEditDlg::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    // An untouched field keeps the bytes it was given: showing them may have needed stand-ins
    // for bytes the character set does not define, and those must not come back.
    std::string bytes = newText_;
    if (newField_->IsModified()) {
        const std::optional<std::string> converted = ToCodePage(newField_->GetValue(), characterSet_);
        if (!converted) {
            ui_.Message(kNotConvertibleMessage, MB_OK | MB_ICONEXCLAMATION);
            newField_->SetFocus();
            return false;
        }
        bytes = *converted;
    }
    if (bytes.size() > CTranslation::kMaxTextBytes) {
        ui_.Message("The text is " + std::to_string(bytes.size()) + " bytes long; a translation may have at most " +
                        std::to_string(CTranslation::kMaxTextBytes) + ".",
                    MB_OK | MB_ICONEXCLAMATION);
        newField_->SetFocus();
        return false;
    }
    newText_ = std::move(bytes);
    return true;
}

}  // namespace qs
