#pragma once
#include <wx/dialog.h>

#include <optional>

#include "sidedocs/reports/ReportDestination.h"

class wxRadioBox;

namespace qs {

// "Select Report": which of the device's five report slots a definition is sent to or read
// from. Opens on the second row.
class CReportDestDlg : public wxDialog {
public:
    static constexpr int kChoicesId = 1068;

    explicit CReportDestDlg(wxWindow* parent = nullptr);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxRadioBox* Choices() const { return choices_; }

    // Shows the dialog modally: the chosen row on OK, nullopt on Cancel.
    static std::optional<int> Choose(wxWindow* parent);

    int chosenRow = ReportDestination::kDefaultRow;

private:
    wxRadioBox* choices_ = nullptr;
};

}  // namespace qs
