#pragma once
#include "app/common/StandardDialog.h"

namespace qs {

// "About Quillset for Duravane III.net": the revision and the notice.
class CAboutDlg : public StandardDialog {
public:
    static constexpr const char* kCaption = "About Quillset for Duravane III.net";
    explicit CAboutDlg(wxWindow* parent);
};

}  // namespace qs
