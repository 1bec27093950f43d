#include "app/common/CFindDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/common/CSearchBox.h"

namespace qs {

wxDEFINE_EVENT(wxEVT_QS_FIND, FindRequestEvent);

CFindDialog::CFindDialog(wxWindow* owner) : StandardDialog(owner, wxID_ANY, "Search for Text"), owner_(owner) {
    const int gap = Gap();
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* textRow = new wxBoxSizer(wxHORIZONTAL);
    textRow->Add(new wxStaticText(this, wxID_ANY, "Text to Find:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    searchBox_ = new CSearchBox(this, wxID_ANY);
    searchBox_->SetMinSize(wxSize(FromDIP(220), -1));
    textRow->Add(searchBox_, 1, wxEXPAND);
    left->Add(textRow, 0, wxEXPAND | wxBOTTOM, gap);

    auto* options = new wxBoxSizer(wxHORIZONTAL);
    auto* checks = new wxBoxSizer(wxVERTICAL);
    ignoreCase_ = new wxCheckBox(this, wxID_ANY, "&Ignore Case");
    fromCursor_ = new wxCheckBox(this, wxID_ANY, "&Find From Cursor");
    checks->Add(ignoreCase_, 0, wxBOTTOM, gap / 2);
    checks->Add(fromCursor_, 0);
    options->Add(checks, 1, wxRIGHT, gap * 2);
    auto* radios = new wxBoxSizer(wxVERTICAL);
    forward_ = new wxRadioButton(this, wxID_ANY, "Forward", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    backward_ = new wxRadioButton(this, wxID_ANY, "Backward");
    radios->Add(forward_, 0, wxBOTTOM, gap / 2);
    radios->Add(backward_, 0);
    options->Add(radios, 0);
    left->Add(options, 0, wxEXPAND);

    auto* buttons = new wxBoxSizer(wxVERTICAL);
    find_ = new wxButton(this, wxID_ANY, "&Find");
    findNext_ = new wxButton(this, wxID_ANY, "Find &Next");
    buttons->Add(find_, 0, wxEXPAND | wxBOTTOM, gap / 2);
    buttons->Add(findNext_, 0, wxEXPAND);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 1, wxEXPAND | wxALL, Margin());
    top->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, Margin());
    SetSizerAndFit(top);

    forward_->SetValue(true);
    find_->Disable();
    findNext_->Disable();

    find_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnFind(); });
    findNext_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnFindNext(); });
    searchBox_->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        OnEditChange();
        event.Skip();
    });
    // Picking an earlier search from the history is an edit of the text too.
    searchBox_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) {
        OnEditChange();
        event.Skip();
    });

    Post(kFindOpened);
}

void CFindDialog::ReadControls() {
    searchText = searchBox_->GetValue();
    upperSearchText = searchText.Upper();
    ignoreCase = ignoreCase_->GetValue();
    fromCursor = fromCursor_->GetValue();
    direction = backward_->GetValue() ? 1 : 0;
}

void CFindDialog::Post(int code) {
    request = code;
    // An owner that is already gone gets nothing.
    if (wxWindow* owner = owner_.get()) wxQueueEvent(owner, new FindRequestEvent(code, this));
}

void CFindDialog::OnFind() {
    ReadControls();
    Post(fromCursor ? kFindFromCursor : kFindFromStart);
    findNext_->Enable();
}

void CFindDialog::OnFindNext() {
    ReadControls();
    Post(kFindNext);
}

void CFindDialog::OnEditChange() {
    find_->Enable(!searchBox_->GetValue().empty());
    findNext_->Disable();
}

bool CFindDialog::MatchText(const wxString& text) const {
    if (!ignoreCase) return text.Find(searchText) != wxNOT_FOUND;
    return text.Upper().Find(upperSearchText) != wxNOT_FOUND;
}

}  // namespace qs
