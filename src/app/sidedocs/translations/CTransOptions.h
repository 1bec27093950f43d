#pragma once
#include <string>

#include "app/common/StandardDialog.h"

class wxChoice;
class wxTextCtrl;

namespace qs {

struct UiServices;

// The translation's name and character set (the rows of the code-page table). OK refuses a
// name the chosen character set cannot hold, or one longer than the 32 bytes its file keeps.
class CTransOptions : public StandardDialog {
public:
    enum : int { kNameId = 1005, kCharacterSetId = 1024 };
    static constexpr int kHelpId = 220;
    static constexpr size_t kMaxNameBytes = 32;
    static constexpr const char* kNotConvertibleMessage =
        "The name has characters the chosen character set cannot hold.";

    // `name` is bytes in `characterSet`.
    CTransOptions(wxWindow* parent, const std::string& name, int characterSet, const UiServices& ui);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // After OK: the name as bytes in the chosen character set, and that set.
    const std::string& Name() const { return name_; }
    int CharacterSet() const { return characterSet_; }

    wxTextCtrl* NameField() const { return nameField_; }
    wxChoice* CharacterSetList() const { return setList_; }

private:
    std::string name_;
    int characterSet_;
    const UiServices& ui_;
    wxTextCtrl* nameField_ = nullptr;
    wxChoice* setList_ = nullptr;
};

}  // namespace qs
