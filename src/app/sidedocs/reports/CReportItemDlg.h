#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/common/StandardDialog.h"
#include "app/sidedocs/reports/CReportItemAdvancedDlg.h"

class wxButton;
class wxChoice;
class wxTextCtrl;

namespace qs {

class CReport;
class ReportItem;

// "Edit Report Item": where an entry of a report sits, what it prints (a register's value or
// name, or its own text) and, through "Advanced...", when and how.
class CReportItemDlg : public StandardDialog {
public:
    static constexpr int kLineId = 1001;
    static constexpr int kColumnId = 1002;
    static constexpr int kTypeId = 1011;
    static constexpr int kValueId = 1009;
    static constexpr int kRegisterId = 1005;
    static constexpr int kChangeId = 1004;
    static constexpr int kFormatId = 1006;
    static constexpr int kAdvancedId = 1003;
    static constexpr int kHelpId = 310;
    static constexpr const char* kCharsetRefused = "The text has characters the report's character set cannot hold.";

    // Edits `item` of `report`; both, `ui` and `choose` outlive the dialog. `choose`
    // defaults to the register picker.
    CReportItemDlg(wxWindow* parent, CReport& report, const ReportItem& item, const UiServices& ui,
                   CReportItemAdvancedDlg::RegisterChooser choose = {});
    ~CReportItemDlg() override;

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // Writes what was accepted into `item` (its cell counted from 0 again).
    void ApplyTo(ReportItem& item) const;

    wxTextCtrl* LineBox() const { return line_; }
    wxTextCtrl* ColumnBox() const { return column_; }
    wxChoice* TypeBox() const { return type_; }
    wxTextCtrl* ValueBox() const { return value_; }
    wxTextCtrl* RegisterBox() const { return register_; }
    wxButton* ChangeButton() const { return change_; }
    wxTextCtrl* FormatBox() const { return format_; }
    CReportItemAdvancedDlg& Advanced() { return *advanced_; }

    // Shown counted from 1.
    int line = 1;
    int column = 1;
    std::string valueText;
    std::string format;
    std::string registerName;
    int itemType = 0;
    const CParam* entry = nullptr;
    uint32_t registerId = 0;

    void UpdateSample(bool resetFormat);
    void OnTypeChanged();
    void OnChangeRegister();
    // Opens the advanced options modally; Cancel puts back what the entry had.
    void OnAdvanced();

private:
    void EnableForType();
    void Load();
    void Save();

    CReport& report_;
    const ReportItem& item_;
    const UiServices& ui_;
    CReportItemAdvancedDlg::RegisterChooser choose_;
    std::unique_ptr<CReportItemAdvancedDlg> advanced_;
    wxTextCtrl* line_ = nullptr;
    wxTextCtrl* column_ = nullptr;
    wxChoice* type_ = nullptr;
    wxTextCtrl* value_ = nullptr;
    wxTextCtrl* register_ = nullptr;
    wxButton* change_ = nullptr;
    wxTextCtrl* format_ = nullptr;
};

}  // namespace qs
