#pragma once
#include "app/common/StandardDialog.h"

#include <string>

class wxTextCtrl;

namespace qs {

// Asks for the device's access code. After OK the caller reads `accessCode` (UTF-8); nothing
// of it is kept anywhere else.
class CPasswordDialog : public StandardDialog {
public:
    explicit CPasswordDialog(wxWindow* parent);

    bool TransferDataFromWindow() override;

    wxTextCtrl* CodeField() const { return code_; }

    std::string accessCode;
    // Longest code the field takes.
    static constexpr int kMaxCodeLength = 64;

private:
    wxTextCtrl* code_ = nullptr;
};

}  // namespace qs
