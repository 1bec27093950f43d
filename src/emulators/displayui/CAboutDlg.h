#pragma once
#include <wx/dialog.h>

namespace qs::displayui {

// "About <program>": the program's icon and "<program> Version 0".
class CAboutDlg : public wxDialog {
public:
    CAboutDlg(wxWindow* parent, const wxString& program);
};

}  // namespace qs::displayui
