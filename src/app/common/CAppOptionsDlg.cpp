#include "app/common/CAppOptionsDlg.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/UiServices.h"

namespace qs {

CAppOptionsDlg::CAppOptionsDlg(wxWindow* parent, AppOptions& options, IniProfile profile, const UiServices& ui)
    : StandardDialog(parent, wxID_ANY, "Quillset General Options"),
      options_(options),
      profile_(std::move(profile)),
      ui_(ui) {
    const int gap = Gap();
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto addCheck = [&](const char* text) {
        auto* box = new wxCheckBox(this, wxID_ANY, text);
        column->Add(box, 0, wxBOTTOM, gap);
        return box;
    };
    autoConnect_ = addCheck("Attempt to go online automatically when a file is opened");
    confirmWrites_ = addCheck("When online, prompt for confirmation before making changes");
    showSecLvl_ = addCheck("Display security level in parameter list view");
    printShowSecLvl_ = addCheck("Include security level on printout");

    auto* levelRow = new wxBoxSizer(wxHORIZONTAL);
    levelRow->Add(new wxStaticText(this, wxID_ANY, "Limit printout of parameters to:"), 0,
                  wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    level_ = new wxChoice(this, wxID_ANY);
    for (const char* text : AppOptions::LevelChoices()) level_->Append(text);
    levelRow->Add(level_, 1);
    column->Add(levelRow, 0, wxEXPAND | wxBOTTOM, gap);
    suppressUnused_ = addCheck("Suppress printing unused recipes");

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(column, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);
}

bool CAppOptionsDlg::TransferDataToWindow() {
    autoConnect_->SetValue(options_.AutoConnect);
    confirmWrites_->SetValue(options_.ConfirmWrites);
    showSecLvl_->SetValue(options_.ShowSecLvl);
    printShowSecLvl_->SetValue(options_.PrintShowSecLvl);
    level_->SetSelection(options_.SuppressBelowLvl >= 0 && options_.SuppressBelowLvl < AppOptions::kLevelChoiceCount
                             ? options_.SuppressBelowLvl
                             : 0);
    suppressUnused_->SetValue(options_.SuppressUnused);
    return wxDialog::TransferDataToWindow();
}

bool CAppOptionsDlg::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow()) return false;
    options_.AutoConnect = autoConnect_->GetValue();
    options_.ConfirmWrites = confirmWrites_->GetValue();
    options_.ShowSecLvl = showSecLvl_->GetValue();
    options_.PrintShowSecLvl = printShowSecLvl_->GetValue();
    options_.SuppressBelowLvl = level_->GetSelection() >= 0 ? level_->GetSelection() : 0;
    options_.SuppressUnused = suppressUnused_->GetValue();
    // The new values hold for this session even when they could not be stored; the user is
    // told they will be lost at the next start.
    if (!options_.Save(profile_)) {
        ui_.Message("Unable to save the options in " + profile_.Path() + ".\nThey apply until Quillset is closed.",
                    MB_OK | MB_ICONEXCLAMATION);
    }
    return true;
}

}  // namespace qs
