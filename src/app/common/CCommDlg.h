#pragma once
#include "app/common/StandardDialog.h"

#include <string>

#include "platform/SerialSettings.h"

class wxChoice;

namespace qs {

// The baud rate and character format of one serial port. It edits settings the caller owns
// and opens nothing itself; Cancel leaves them as they were.
class CCommDlg : public StandardDialog {
public:
    // `settings` must outlive the dialog.
    CCommDlg(const std::string& portName, SerialSettings* settings, wxWindow* parent = nullptr);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxChoice* BaudList() const { return baudList_; }
    wxChoice* FormatList() const { return formatList_; }

    int baudIndex = 0;
    int formatIndex = 0;

private:
    // Writes the chosen rows into the caller's settings.
    bool ApplySettings();

    SerialSettings* settings_;
    wxChoice* baudList_ = nullptr;
    wxChoice* formatList_ = nullptr;
};

}  // namespace qs
