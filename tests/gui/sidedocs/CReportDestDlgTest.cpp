#include "app/sidedocs/reports/CReportDestDlg.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/radiobox.h>

#include "RecordingUi.h"

namespace qs::test {

namespace {

void Click(wxWindow* button) {
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

}  // namespace

TEST(ReportDestDlg, ListsTheFiveSlotsAndOpensOnTheSecond) {
    RecordingUi ui;
    CReportDestDlg dialog(nullptr, ui.services);
    EXPECT_EQ(dialog.GetTitle(), "Select Report");
    ASSERT_EQ(dialog.Choices()->GetId(), 1068);
    ASSERT_EQ(dialog.Choices()->GetCount(), 5u);
    for (unsigned i = 0; i < 5; ++i) EXPECT_EQ(dialog.Choices()->GetString(i), ReportDestination::kNames[i]);
    EXPECT_NE(dialog.FindWindow(wxID_HELP), nullptr);
    ASSERT_TRUE(dialog.TransferDataToWindow());
    EXPECT_EQ(dialog.Choices()->GetSelection(), 1);
}

TEST(ReportDestDlg, OkTakesTheChosenRowAndCancelLeavesIt) {
    RecordingUi ui;
    {
        CReportDestDlg dialog(nullptr, ui.services);
        dialog.Show();  // modeless here, so OK returns at once
        dialog.Choices()->SetSelection(4);
        Click(dialog.FindWindow(wxID_OK));
        EXPECT_FALSE(dialog.IsShown());
        EXPECT_EQ(dialog.chosenRow, 4);
    }
    {
        CReportDestDlg dialog(nullptr, ui.services);
        dialog.Show();
        dialog.Choices()->SetSelection(0);
        Click(dialog.FindWindow(wxID_CANCEL));
        EXPECT_FALSE(dialog.IsShown());
        EXPECT_EQ(dialog.chosenRow, 1);
    }
}

}  // namespace qs::test
