#pragma once
#include <wx/combobox.h>

namespace qs {

// An editable combo box whose list is the search history, newest first, at most 15 entries.
// Enter puts the typed text at the top (duplicates are kept); holding Enter down adds it once.
// Enter never reaches the dialog.
class CSearchBox : public wxComboBox {
public:
    static constexpr unsigned kMaxHistory = 15;

    CSearchBox(wxWindow* parent, wxWindowID id);

    // What an Enter press does with the typed text.
    void AddToHistory();

private:
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);

    // Enter went down and has not come up: further downs are the key repeating.
    bool enterDown_ = false;
};

}  // namespace qs
