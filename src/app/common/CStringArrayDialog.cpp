#include "app/common/CStringArrayDialog.h"

#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace qs {

CStringArrayDialog::CStringArrayDialog(wxWindow* parent, const std::vector<std::string>& items)
    : StandardDialog(parent, wxID_ANY, "Entry Selection", wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, "Select an entry from the list:"), 0, wxLEFT | wxRIGHT | wxTOP,
             Margin());
    list_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(320, 160)), 0, nullptr,
                          wxLB_SINGLE | wxLB_HSCROLL);
    for (const auto& item : items) list_->Append(wxString::FromUTF8(item));
    top->Add(list_, 1, wxEXPAND | wxALL, Margin());
    AddButtonRow(top, wxOK | wxCANCEL);
    FinishLayout(top);

    // A double click picks the entry, as OK would.
    list_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) {
        if (Validate() && TransferDataFromWindow()) EndDialog(wxID_OK);
    });
}

bool CStringArrayDialog::TransferDataToWindow() {
    selectedIndex = list_->IsEmpty() ? -1 : 0;
    if (selectedIndex >= 0) list_->SetSelection(selectedIndex);
    return wxDialog::TransferDataToWindow();
}

bool CStringArrayDialog::TransferDataFromWindow() {
    selectedIndex = list_->GetSelection();  // wxNOT_FOUND is -1
    return wxDialog::TransferDataFromWindow();
}

}  // namespace qs
