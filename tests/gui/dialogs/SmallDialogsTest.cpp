#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

#include "DialogDriving.h"
#include "app/common/CPasswordDialog.h"
#include "app/common/CStringArrayDialog.h"

namespace qs::test {

TEST(CStringArrayDialog, AnEmptyListSelectsNothingAndOkGivesMinusOne) {
    CStringArrayDialog dialog(nullptr, {});
    dialog.Show();
    EXPECT_EQ(dialog.List()->GetSelection(), wxNOT_FOUND);
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.selectedIndex, -1);
}

TEST(CStringArrayDialog, FirstEntryIsPreselectedAndOkReadsTheChoice) {
    CStringArrayDialog first(nullptr, {"Bay A (Com1,  Addr 1)", "Bay B (192.168.0.7)"});
    first.Show();
    EXPECT_EQ(first.List()->GetSelection(), 0);
    ClickOk(first);
    EXPECT_EQ(first.selectedIndex, 0);

    CStringArrayDialog second(nullptr, {"a", "b", "c"});
    second.Show();
    second.List()->SetSelection(2);
    ClickOk(second);
    EXPECT_EQ(second.selectedIndex, 2);
}

TEST(CPasswordDialog, StartsEmptyAndOkReadsTheCode) {
    CPasswordDialog dialog(nullptr);
    dialog.Show();
    EXPECT_TRUE(dialog.CodeField()->GetValue().empty());
    EXPECT_TRUE(dialog.CodeField()->HasFlag(wxTE_PASSWORD));
    Type(dialog.CodeField(), wxString::FromUTF8("Zugang-ä1"));
    ClickOk(dialog);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.accessCode, "Zugang-\xc3\xa4" "1");
}

}  // namespace qs::test
