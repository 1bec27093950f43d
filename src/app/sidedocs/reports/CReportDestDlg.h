#pragma once
#include <optional>

#include "app/common/StandardDialog.h"

#include "sidedocs/reports/ReportDestination.h"

class wxRadioBox;

namespace qs {

struct UiServices;

// "Select Report": which of the device's five report slots a definition is sent to or read
// from. Opens on the second row.
class CReportDestDlg : public StandardDialog {
public:
    static constexpr int kChoicesId = 1068;

    // Help goes through `ui`, which outlives the dialog.
    CReportDestDlg(wxWindow* parent, const UiServices& ui);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxRadioBox* Choices() const { return choices_; }

    // Shows the dialog modally: the chosen row on OK, nullopt on Cancel.
    static std::optional<int> Choose(wxWindow* parent, const UiServices& ui);

    int chosenRow = ReportDestination::kDefaultRow;

private:
    wxRadioBox* choices_ = nullptr;
};

}  // namespace qs
