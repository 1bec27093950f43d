#include "app/sidedocs/reports/CReportOptionsDlg.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "RecordingUi.h"

namespace qs::test {

namespace {

void Click(wxWindow* button) {
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

void Choose(wxRadioButton* button) {
    button->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

}  // namespace

TEST(ReportOptionsDlg, OpensOnTheChoiceThatFitsThePageSize) {
    struct Row {
        int columns, lines, choice;
        bool customEnabled;
    };
    for (const Row& row : {Row{80, 60, 0, false}, Row{132, 60, 1, false}, Row{100, 40, 2, true}}) {
        RecordingUi ui;
        CReportOptionsDlg dialog(nullptr, ui.services);
        dialog.columns = row.columns;
        dialog.linesPerPage = row.lines;
        ASSERT_TRUE(dialog.TransferDataToWindow());
        EXPECT_EQ(dialog.pageChoice, row.choice);
        EXPECT_TRUE(dialog.SizeButton(row.choice)->GetValue());
        EXPECT_EQ(dialog.ColumnsBox()->IsEnabled(), row.customEnabled);
        EXPECT_EQ(dialog.LinesBox()->IsEnabled(), row.customEnabled);
    }
}

TEST(ReportOptionsDlg, DefaultAndWideSetTheirSizeAndCustomFreesTheBoxes) {
    RecordingUi ui;
    CReportOptionsDlg dialog(nullptr, ui.services);
    dialog.columns = 100;
    dialog.linesPerPage = 40;
    ASSERT_TRUE(dialog.TransferDataToWindow());
    dialog.PagesBox()->ChangeValue("3");
    Choose(dialog.SizeButton(1));
    EXPECT_EQ(dialog.ColumnsBox()->GetValue(), "132");
    EXPECT_EQ(dialog.LinesBox()->GetValue(), "60");
    EXPECT_EQ(dialog.PagesBox()->GetValue(), "3");
    EXPECT_FALSE(dialog.ColumnsBox()->IsEnabled());
    Choose(dialog.SizeButton(0));
    EXPECT_EQ(dialog.ColumnsBox()->GetValue(), "80");
    Choose(dialog.SizeButton(2));
    EXPECT_TRUE(dialog.ColumnsBox()->IsEnabled());
    EXPECT_TRUE(dialog.LinesBox()->IsEnabled());
}

TEST(ReportOptionsDlg, OkTakesTheFieldsOrStaysOnTheFailingBox) {
    RecordingUi ui;
    CReportOptionsDlg dialog(nullptr, ui.services);
    dialog.Show();  // modeless here, so OK returns at once
    ASSERT_TRUE(dialog.TransferDataToWindow());
    dialog.TitleBox()->ChangeValue("Bay 4 ticket");
    Choose(dialog.SizeButton(2));
    dialog.ColumnsBox()->ChangeValue("300");
    Click(dialog.FindWindow(wxID_OK));
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(ui.LastMessage(), "Please enter an integer between 1 and 255.");
    EXPECT_EQ(wxWindow::FindFocus(), dialog.ColumnsBox());

    dialog.ColumnsBox()->ChangeValue("40");
    dialog.LinesBox()->ChangeValue("20");
    dialog.PagesBox()->ChangeValue("x");
    Click(dialog.FindWindow(wxID_OK));
    EXPECT_TRUE(dialog.IsShown());
    EXPECT_EQ(wxWindow::FindFocus(), dialog.PagesBox());

    dialog.PagesBox()->ChangeValue("2");
    dialog.FormFeedBox()->SetValue(false);
    dialog.CharsetBox()->SetSelection(4);
    Click(dialog.FindWindow(wxID_OK));
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.title, "Bay 4 ticket");
    EXPECT_EQ(dialog.pageChoice, 2);
    EXPECT_EQ(dialog.columns, 40);
    EXPECT_EQ(dialog.linesPerPage, 20);
    EXPECT_EQ(dialog.pages, 2);
    EXPECT_FALSE(dialog.formFeed);
    EXPECT_EQ(dialog.charset, 4);
}

}  // namespace qs::test
