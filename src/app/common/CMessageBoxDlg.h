#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "app/common/StandardDialog.h"

namespace qs {

// The buttons of a message-box type (MB_*), in their order, with the ID* result of
// each; what Esc and the close box answer (0: they do nothing, as in the sets without a
// Cancel button other than a lone OK); and which button is the default.
struct MessageBoxLayout {
    struct Button {
        std::string label;
        int result = 0;
    };
    std::vector<Button> buttons;
    int escapeResult = 0;
    std::size_t defaultIndex = 0;

    // The result of the button whose underlined letter is `key` (either case), 0 when none.
    int ResultForKey(int key) const;
};

MessageBoxLayout MessageBoxLayoutFor(unsigned type);

// A message box with the program's button sets (wx has no Abort/Retry/Ignore, and its native
// boxes answer Esc with Cancel even where the set has none).
class CMessageBoxDlg final : public StandardDialog {
public:
    CMessageBoxDlg(wxWindow* parent, const std::string& text, const std::string& caption, unsigned type);
    // Shows the box modally; returns the ID* value of the answer.
    int Run();

private:
    void OnButton(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);

    MessageBoxLayout layout_;
    unsigned type_;
};

}  // namespace qs
