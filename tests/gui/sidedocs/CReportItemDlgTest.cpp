#include "app/sidedocs/reports/CReportItemDlg.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/textctrl.h>

#include "ModelFixtures.h"
#include "RecordingUi.h"
#include "app/tools/CRegisterBrowseDlg.h"
#include "programdata/ParamDictionary.h"
#include "sidedocs/reports/CReport.h"
#include "sidedocs/reports/ReportItem.h"

namespace qs::test {

namespace {

void Click(wxWindow* button) {
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

void Select(wxChoice* choice, int row) {
    choice->SetSelection(row);
    wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
    event.SetEventObject(choice);
    event.SetInt(row);
    choice->GetEventHandler()->ProcessEvent(event);
}

// A report over three registers: a batch real with 10 instances, a plain count, a count with
// 6 instances; the picker is scripted to give `next`.
struct ItemDlgRig {
    ItemDlgRig() {
        dictionary.Load(Records({
            Def{.type = 4, .dir = 17, .instances = 10, .max = 999.5f, .format = "%*.*f", .width = 8, .precision = 2,
                .name = "Batch Net Volume", .help = {}, .options = {}},
            Def{.type = 8, .dir = 4, .max = 250, .format = "%*ld", .width = 4, .name = "Unit Number", .help = {}, .options = {}},
            Def{.number = 0, .flags = 1, .type = 1, .dir = 4, .position = 0, .instances = 0, .min = 0, .max = 1,
                .format = "%d", .width = 0, .precision = 0, .name = "Print Mode", .help = {}, .options = {"Off", "On"}},
            Def{.type = 8, .dir = 12, .instances = 6, .max = 65000, .format = "%*ld", .width = 6,
                .name = "Meter Factor", .help = {}, .options = {}},
        }));
        report.OnNewDocument();
    }
    const CParam* Entry(uint32_t id) const { return dictionary.FindParamByRegisterId(id); }
    CReportItemAdvancedDlg::RegisterChooser Chooser() {
        return [this](wxWindow*, const CParam*) -> std::optional<PickedRegister> {
            ++picks;
            return next;
        };
    }
    RecordingUi ui;
    ParamDictionary dictionary;
    CReport report{dictionary, ui.services};
    std::optional<PickedRegister> next;
    int picks = 0;
};

constexpr uint32_t kBatchNet = 0x04110000;
constexpr uint32_t kUnitNumber = 0x08040000;
constexpr uint32_t kPrintMode = 0x01040000;

}  // namespace

TEST(ReportItemDlg, UserTextEditsTheValueAndLeavesTheRegisterControls) {
    ItemDlgRig rig;
    ReportItem item(4, 9, "Ticket");
    CReportItemDlg dialog(nullptr, rig.report, item, rig.ui.services, rig.Chooser());
    ASSERT_TRUE(dialog.TransferDataToWindow());
    EXPECT_EQ(dialog.GetTitle(), "Edit Report Item");
    EXPECT_EQ(dialog.LineBox()->GetValue(), "5");
    EXPECT_EQ(dialog.ColumnBox()->GetValue(), "10");
    EXPECT_EQ(dialog.TypeBox()->GetSelection(), 2);
    EXPECT_EQ(dialog.ValueBox()->GetValue(), "Ticket");
    EXPECT_TRUE(dialog.ValueBox()->IsEnabled());
    EXPECT_FALSE(dialog.ChangeButton()->IsEnabled());
    EXPECT_FALSE(dialog.FormatBox()->IsEnabled());
}

TEST(ReportItemDlg, ChangeTakesThePickedRegisterAndRebuildsTheFormat) {
    ItemDlgRig rig;
    ReportItem item(0, 0, "x");
    item.SetType(kReportItemValue);
    CReportItemDlg dialog(nullptr, rig.report, item, rig.ui.services, rig.Chooser());
    ASSERT_TRUE(dialog.TransferDataToWindow());
    EXPECT_EQ(dialog.RegisterBox()->GetValue(), "<none>");
    rig.next = PickedRegister{rig.Entry(kBatchNet), 3, 1, 0};
    Click(dialog.ChangeButton());
    EXPECT_EQ(rig.picks, 1);
    EXPECT_EQ(dialog.registerId, kBatchNet | 3u);
    EXPECT_EQ(dialog.RegisterBox()->GetValue(), "Batch Net Volume(3)");
    EXPECT_EQ(dialog.FormatBox()->GetValue(), "%8.2f");
    EXPECT_EQ(dialog.ValueBox()->GetValue(), "  999.50");

    Select(dialog.TypeBox(), 1);
    EXPECT_EQ(dialog.FormatBox()->GetValue(), "%s");
    EXPECT_EQ(dialog.ValueBox()->GetValue(), "Batch Net Volume");
    EXPECT_EQ(dialog.RegisterBox()->GetValue(), "Batch Net Volume");
}

TEST(ReportItemDlg, OkRefusesACellOutOfTheGridOrTakenAndStaysOnTheLine) {
    ItemDlgRig rig;
    rig.report.InsertItemInOrder(std::make_unique<ReportItem>(2, 2, "taken"));
    ReportItem item(0, 0, "x");
    CReportItemDlg dialog(nullptr, rig.report, item, rig.ui.services, rig.Chooser());
    dialog.Show();
    ASSERT_TRUE(dialog.TransferDataToWindow());
    struct Row {
        const char* line;
        const char* column;
        const char* message;
    };
    for (const Row& row : {Row{"0", "1", "Please enter an integer between 1 and 60."},
                           Row{"61", "1", "Please enter an integer between 1 and 60."},
                           Row{"1", "81", "Please enter an integer between 1 and 80."},
                           Row{"1", "x", "Please enter an integer between 1 and 80."},
                           Row{"3", "3", "Already an item at that line/column -  choose another line or column"}}) {
        dialog.LineBox()->ChangeValue(row.line);
        dialog.ColumnBox()->ChangeValue(row.column);
        Click(dialog.FindWindow(wxID_OK));
        EXPECT_TRUE(dialog.IsShown()) << row.line << "/" << row.column;
        EXPECT_EQ(rig.ui.LastMessage(), row.message);
    }
    dialog.LineBox()->ChangeValue("3");
    dialog.ColumnBox()->ChangeValue("4");
    Click(dialog.FindWindow(wxID_OK));
    EXPECT_FALSE(dialog.IsShown());
    ReportItem out;
    dialog.ApplyTo(out);
    EXPECT_EQ(out.Line(), 2);
    EXPECT_EQ(out.Column(), 3);
    EXPECT_EQ(out.Text(), "x");
    EXPECT_EQ(out.Type(), kReportItemUserText);
}

TEST(ReportItemDlg, OkRefusesAFormatThatDoesNotSuitTheRegister) {
    ItemDlgRig rig;
    ReportItem item(0, 0, "x");
    item.SetType(kReportItemValue);
    item.SetRegister(kUnitNumber, rig.Entry(kUnitNumber));
    item.SetFormat("%5ld");
    CReportItemDlg dialog(nullptr, rig.report, item, rig.ui.services, rig.Chooser());
    dialog.Show();
    ASSERT_TRUE(dialog.TransferDataToWindow());
    dialog.format = "%5d";
    Click(dialog.FindWindow(wxID_OK));
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(rig.ui.LastMessage(), "Invalid Format String - Missing required modifier.(ld for Long Integer?).");
}

TEST(ReportItemDlg, AValueOfAnOptionListPrintsItsOptionText) {
    ItemDlgRig rig;
    ReportItem item(0, 0, "x");
    item.SetType(kReportItemValue);
    CReportItemDlg dialog(nullptr, rig.report, item, rig.ui.services, rig.Chooser());
    dialog.Show();
    ASSERT_TRUE(dialog.TransferDataToWindow());
    rig.next = PickedRegister{rig.Entry(kPrintMode), 0, 1, 0};
    Click(dialog.ChangeButton());
    EXPECT_EQ(dialog.ValueBox()->GetValue(), "Off");
    EXPECT_EQ(dialog.FormatBox()->GetValue(), "%s");
    Click(dialog.FindWindow(wxID_OK));
    ASSERT_FALSE(dialog.IsShown());
    ReportItem out;
    dialog.ApplyTo(out);
    EXPECT_EQ(out.Type(), kReportItemValueText);
    EXPECT_EQ(out.RegisterId(), kPrintMode);
    EXPECT_EQ(out.Text(), "Off");
}

TEST(ReportItemAdvancedDlg, OffsetBoxFollowsTheReferenceAndOkChecksTheCondition) {
    ItemDlgRig rig;
    CReportItemAdvancedDlg dialog(nullptr, rig.dictionary, rig.ui.services, rig.Chooser());
    dialog.itemType = kReportItemValue;
    dialog.itemEntry = rig.Entry(0x080C0000);  // Meter Factor, 6 instances
    dialog.format = "%6ld";
    dialog.Show();
    ASSERT_TRUE(dialog.TransferDataToWindow());
    EXPECT_EQ(dialog.ReferenceBox()->GetValue(), "<none>");
    EXPECT_FALSE(dialog.OffsetBox()->IsEnabled());
    ASSERT_EQ(dialog.ConditionBox()->GetCount(), 9u);
    EXPECT_EQ(dialog.ConditionBox()->GetString(8), "Print if reference register's recipe was delivered");

    rig.next = PickedRegister{rig.Entry(kBatchNet), 2, 1, 0};
    Click(dialog.ChangeButton());
    EXPECT_EQ(dialog.ReferenceBox()->GetValue(), "Batch Net Volume(2)");
    EXPECT_FALSE(dialog.OffsetBox()->IsEnabled());  // a real gives no offset
    rig.next = PickedRegister{rig.Entry(kUnitNumber), 0, 1, 0};
    Click(dialog.ChangeButton());
    EXPECT_EQ(dialog.ReferenceBox()->GetValue(), "Unit Number");
    EXPECT_EQ(dialog.referenceId, kUnitNumber);
    EXPECT_TRUE(dialog.OffsetBox()->IsEnabled());

    dialog.ConditionBox()->SetSelection(4);
    Click(dialog.FindWindow(wxID_OK));
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(rig.ui.LastMessage(), "Function selected requires a register that has a batch offset");
    dialog.FormatBox()->ChangeValue("%6d");
    dialog.ConditionBox()->SetSelection(2);
    Click(dialog.FindWindow(wxID_OK));
    EXPECT_EQ(rig.ui.LastMessage(), "Invalid Format String - Missing required modifier.(ld for Long Integer?).");
    EXPECT_TRUE(dialog.IsShown());
    dialog.FormatBox()->ChangeValue("%-6ld");
    dialog.OffsetBox()->SetValue(true);
    Click(dialog.FindWindow(wxID_OK));
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.format, "%-6ld");
    EXPECT_EQ(dialog.condition, 2);
    EXPECT_TRUE(dialog.useReferenceOffset);
}

}  // namespace qs::test
