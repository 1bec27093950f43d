#pragma once
#include <wx/dialog.h>

namespace qs::farview {

// "About Farview": the program's icon and "Farview Version 0".
class CAboutDlg : public wxDialog {
public:
    static constexpr const char* kCaption = "About Farview";
    static constexpr const char* kVersion = "Farview Version 0";
    explicit CAboutDlg(wxWindow* parent);
};

}  // namespace qs::farview
