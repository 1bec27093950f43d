#include "app/common/CCommDlg.h"

#include <gtest/gtest.h>
#include <wx/choice.h>

#include "DialogDriving.h"
#include "SerialSettingsOf.h"

namespace qs::test {

namespace {
constexpr auto Make = SerialSettingsOf;
}  // namespace

TEST(CCommDlg, RateOutsideTheListShowsAndBecomes38400) {
    SerialSettings settings = Make(57600, 8, NOPARITY, ONESTOPBIT);
    CCommDlg dialog("COM3", &settings);
    EXPECT_EQ(dialog.GetTitle(), "Settings for COM3");
    ASSERT_TRUE(dialog.TransferDataToWindow());
    EXPECT_EQ(dialog.BaudList()->GetStringSelection(), "38400");
    EXPECT_EQ(dialog.FormatList()->GetStringSelection(), "8 Bits None");
    EXPECT_EQ(settings.baudRate, 57600u) << "showing changes nothing";
    ASSERT_TRUE(dialog.Validate() && dialog.TransferDataFromWindow());
    EXPECT_EQ(settings, Make(38400, 8, NOPARITY, ONESTOPBIT));
}

TEST(CCommDlg, SevenBitsEvenWithTwoStopBitsShowsSevenBitsEvenAndGetsOneStopBit) {
    SerialSettings settings = Make(4800, 7, EVENPARITY, TWOSTOPBITS);
    CCommDlg dialog("COM1", &settings);
    ASSERT_TRUE(dialog.TransferDataToWindow());
    EXPECT_EQ(dialog.BaudList()->GetStringSelection(), "4800");
    EXPECT_EQ(dialog.FormatList()->GetStringSelection(), "7 Bits Even");
    ASSERT_TRUE(dialog.TransferDataFromWindow());
    EXPECT_EQ(settings, Make(4800, 7, EVENPARITY, ONESTOPBIT));
}

TEST(CCommDlg, MarkAndSpaceParityShowAsNoneAndBecomeNone) {
    for (uint8_t parity : {MARKPARITY, SPACEPARITY}) {
        SerialSettings settings = Make(1200, 8, parity, ONESTOPBIT);
        CCommDlg dialog("COM2", &settings);
        ASSERT_TRUE(dialog.TransferDataToWindow());
        EXPECT_EQ(dialog.FormatList()->GetStringSelection(), "8 Bits None");
        ASSERT_TRUE(dialog.TransferDataFromWindow());
        EXPECT_EQ(settings, Make(1200, 8, NOPARITY, ONESTOPBIT));
    }
}

TEST(CCommDlg, OkTakesTheChoicesAndCancelLeavesTheSettings) {
    SerialSettings settings = Make(19200, 7, ODDPARITY, ONESTOPBIT);
    {
        CCommDlg dialog("COM9", &settings);
        dialog.Show();  // modeless here, so OK and Cancel return at once
        Choose(dialog.BaudList(), 0);
        Choose(dialog.FormatList(), 6);
        Click(dialog.FindWindow(wxID_CANCEL));
        EXPECT_FALSE(dialog.IsShown());
        EXPECT_EQ(settings, Make(19200, 7, ODDPARITY, ONESTOPBIT));
    }
    {
        CCommDlg dialog("COM9", &settings);
        dialog.Show();
        EXPECT_EQ(dialog.FormatList()->GetStringSelection(), "7 Bits Odd ");
        Choose(dialog.BaudList(), 0);
        Choose(dialog.FormatList(), 6);
        ClickOk(dialog);
        EXPECT_FALSE(dialog.IsShown());
        EXPECT_EQ(settings, Make(600, 8, NOPARITY, TWOSTOPBITS));
    }
}

}  // namespace qs::test
