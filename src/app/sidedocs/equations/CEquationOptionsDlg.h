#pragma once
#include <cstddef>
#include <string>

#include "app/common/StandardDialog.h"

class wxCheckBox;
class wxTextCtrl;

namespace qs {

// The equation set's name and whether its lines start disabled after a download.
class CEquationOptionsDlg : public StandardDialog {
public:
    enum : int { kNameId = 1005, kDisableId = 1007 };
    static constexpr int kHelpId = 420;
    // What the set's file and the controller keep of the name.
    static constexpr size_t kMaxNameLength = 32;

    CEquationOptionsDlg(wxWindow* parent, const std::string& name, bool disableAll);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    const std::string& Name() const { return name_; }
    bool DisableAll() const { return disableAll_; }

    wxTextCtrl* NameField() const { return nameField_; }
    wxCheckBox* DisableBox() const { return disableBox_; }

private:
    std::string name_;
    bool disableAll_;
    wxTextCtrl* nameField_ = nullptr;
    wxCheckBox* disableBox_ = nullptr;
};

}  // namespace qs
