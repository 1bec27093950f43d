#pragma once
#include <string>

#include "app/common/StandardDialog.h"
#include <wx/font.h>

class wxTextCtrl;

namespace qs {

struct UiServices;

// The editor of one translation: the controller's text beside its translation, both in the
// font of the translation's character set. OK checks the new text: it must convert to the
// character set and fit one frame of the device transfer (501 bytes); otherwise it says why
// and stays open.
class CTextEditDlg : public StandardDialog {
public:
    enum : int { kOriginalId = 1005, kNewTextId = 1006 };
    static constexpr int kHelpId = 210;
    static constexpr const char* kNotConvertibleMessage =
        "The text has characters the translation's character set cannot hold.";

    // `original` and `text` are bytes in the character set.
    CTextEditDlg(wxWindow* parent, const std::string& original, const std::string& text, int characterSet,
                 const wxFont& font, const UiServices& ui);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // After OK: the new text, bytes in the character set.
    const std::string& NewText() const { return newText_; }
    wxTextCtrl* OriginalField() const { return original_; }
    wxTextCtrl* NewTextField() const { return newField_; }

private:
    std::string originalText_;
    std::string newText_;
    int characterSet_;
    const UiServices& ui_;
    wxTextCtrl* original_ = nullptr;
    wxTextCtrl* newField_ = nullptr;
};

}  // namespace qs
