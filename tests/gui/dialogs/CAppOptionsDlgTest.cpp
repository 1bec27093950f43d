#include "app/common/CAppOptionsDlg.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/choice.h>

#include "DialogDriving.h"
#include "RecordingUi.h"
#include "TempDir.h"

namespace qs::test {

TEST(CAppOptionsDlg, ShowsTheOptionsAndOkStoresThemInTheProfile) {
    RecordingUi ui;
    TempDir dir;
    dir.Write("QS3X.INI", "; mine\n[General]\nMRUFileCount=7\nConfirmWrites=1\n[ParamPrint]\nSuppressBelowLvl=4\n");
    IniProfile profile(dir.File("QS3X.INI"));
    AppOptions options;
    options.Load(profile);

    CAppOptionsDlg dialog(nullptr, options, profile, ui.services);
    dialog.Show();
    EXPECT_TRUE(dialog.AutoConnectBox()->GetValue());
    EXPECT_TRUE(dialog.ConfirmWritesBox()->GetValue());
    EXPECT_FALSE(dialog.ShowSecLvlBox()->GetValue());
    EXPECT_EQ(dialog.LevelList()->GetCount(), 5u);
    EXPECT_EQ(dialog.LevelList()->GetStringSelection(), "Level 5");

    dialog.AutoConnectBox()->SetValue(false);
    dialog.ShowSecLvlBox()->SetValue(true);
    dialog.SuppressUnusedBox()->SetValue(true);
    Choose(dialog.LevelList(), 2);
    EXPECT_EQ(dialog.LevelList()->GetStringSelection(), "Level 3 and above");
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());

    EXPECT_FALSE(options.AutoConnect);
    EXPECT_TRUE(options.ShowSecLvl);
    EXPECT_TRUE(options.SuppressUnused);
    EXPECT_EQ(options.SuppressBelowLvl, 2);
    EXPECT_EQ(options.MRUFileCount, 7);
    AppOptions reread;
    reread.Load(profile);
    EXPECT_EQ(reread, options);
    EXPECT_EQ(dir.Read("QS3X.INI").rfind("; mine\n[General]\nMRUFileCount=7\nConfirmWrites=1\n", 0), 0u);
    EXPECT_TRUE(ui.prompt.shown.empty());
}

TEST(CAppOptionsDlg, CancelChangesNothing) {
    RecordingUi ui;
    TempDir dir;
    IniProfile profile(dir.File("QS3X.INI"));
    AppOptions options;
    CAppOptionsDlg dialog(nullptr, options, profile, ui.services);
    dialog.Show();
    dialog.ConfirmWritesBox()->SetValue(true);
    Click(dialog.FindWindow(wxID_CANCEL));
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(options, AppOptions{});
    EXPECT_FALSE(wxFileExists(dir.File("QS3X.INI")));
}

TEST(CAppOptionsDlg, AProfileThatCannotBeWrittenIsReported) {
    RecordingUi ui;
    TempDir dir;
    dir.Write("plain-file", "");
    AppOptions options;
    CAppOptionsDlg dialog(nullptr, options, IniProfile(dir.File("plain-file/QS3X.INI")), ui.services);
    dialog.Show();
    dialog.ConfirmWritesBox()->SetValue(true);
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_TRUE(options.ConfirmWrites) << "the choice holds for this session";
    ASSERT_EQ(ui.prompt.shown.size(), 1u);
    EXPECT_NE(ui.LastMessage().find("plain-file/QS3X.INI"), std::string::npos);
}

}  // namespace qs::test
