#pragma once
#include "app/common/StandardDialog.h"

#include <string>
#include <vector>

class wxListBox;

namespace qs {

// Picks one entry of a list of strings. After OK the caller reads `selectedIndex`
// (-1 when the list was empty).
class CStringArrayDialog : public StandardDialog {
public:
    CStringArrayDialog(wxWindow* parent, const std::vector<std::string>& items);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxListBox* List() const { return list_; }

    int selectedIndex = -1;

private:
    wxListBox* list_ = nullptr;
};

}  // namespace qs
