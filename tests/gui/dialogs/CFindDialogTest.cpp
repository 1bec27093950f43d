#include "app/common/CFindDialog.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/radiobut.h>

#include <vector>

#include "DialogDriving.h"
#include "app/common/CSearchBox.h"

namespace qs::test {

namespace {

// An owner as the editors are: it answers find requests and ignores those whose dialog
// has gone.
class Owner : public wxFrame {
public:
    Owner() : wxFrame(nullptr, wxID_ANY, "owner") {
        Bind(wxEVT_QS_FIND, [this](FindRequestEvent& event) {
            if (!event.Dialog()) {
                ++ignored;
                return;
            }
            requests.push_back(event.Request());
            dialogs.push_back(event.Dialog());
        });
    }
    std::vector<int> requests;
    std::vector<CFindDialog*> dialogs;
    int ignored = 0;
};

void PressEnter(CSearchBox* box, bool release = true) {
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = WXK_RETURN;
    down.SetEventObject(box);
    box->GetEventHandler()->ProcessEvent(down);
    if (release) {
        wxKeyEvent up(wxEVT_KEY_UP);
        up.m_keyCode = WXK_RETURN;
        up.SetEventObject(box);
        box->GetEventHandler()->ProcessEvent(up);
    }
}

class CFindDialogTest : public ::testing::Test {
protected:
    void SetUp() override { owner = new Owner; }
    void TearDown() override {
        delete owner;  // and any dialog still open over it
    }
    Owner* owner = nullptr;
};

}  // namespace

TEST_F(CFindDialogTest, SendsTheFourRequests) {
    auto* dialog = new CFindDialog(owner);
    RunPendingEvents();
    EXPECT_EQ(owner->requests, (std::vector<int>{kFindOpened}));
    ASSERT_EQ(owner->dialogs.size(), 1u);
    EXPECT_EQ(owner->dialogs[0], dialog);

    dialog->Show();
    EXPECT_FALSE(dialog->FindButton()->IsEnabled());
    EXPECT_FALSE(dialog->FindNextButton()->IsEnabled());
    dialog->SearchBox()->SetValue("Meter");
    EXPECT_TRUE(dialog->FindButton()->IsEnabled());
    EXPECT_FALSE(dialog->FindNextButton()->IsEnabled());

    Click(dialog->FindButton());
    EXPECT_TRUE(dialog->FindNextButton()->IsEnabled());
    Click(dialog->FindNextButton());
    dialog->FromCursorBox()->SetValue(true);
    dialog->BackwardButton()->SetValue(true);
    Click(dialog->FindButton());
    RunPendingEvents();
    EXPECT_EQ(owner->requests, (std::vector<int>{kFindOpened, kFindFromStart, kFindNext, kFindFromCursor}));
    EXPECT_EQ(dialog->request, kFindFromCursor);
    EXPECT_EQ(dialog->searchText, "Meter");
    EXPECT_EQ(dialog->upperSearchText, "METER");
    EXPECT_EQ(dialog->direction, 1);

    // Editing the text takes "Find Next" away until the next "Find"; no text, no "Find".
    dialog->SearchBox()->SetValue("");
    EXPECT_FALSE(dialog->FindButton()->IsEnabled());
    EXPECT_FALSE(dialog->FindNextButton()->IsEnabled());
    delete dialog;
}

TEST_F(CFindDialogTest, RequestsThatArriveAfterTheDialogIsGoneAreIgnored) {
    auto* dialog = new CFindDialog(owner);
    dialog->SearchBox()->SetValue("x");
    Click(dialog->FindButton());
    Click(dialog->FindNextButton());
    delete dialog;  // the owner closes its search while the requests are still queued
    RunPendingEvents();
    EXPECT_TRUE(owner->requests.empty());
    EXPECT_EQ(owner->ignored, 3);
}

TEST_F(CFindDialogTest, MatchTextFollowsIgnoreCase) {
    auto* dialog = new CFindDialog(owner);
    dialog->SearchBox()->SetValue("abc");
    Click(dialog->FindButton());
    EXPECT_TRUE(dialog->MatchText("xxabcxx"));
    EXPECT_FALSE(dialog->MatchText("xxABCxx"));
    EXPECT_FALSE(dialog->MatchText("ab c"));

    dialog->IgnoreCaseBox()->SetValue(true);
    EXPECT_FALSE(dialog->MatchText("xxABCxx")) << "the setting counts from the next request";
    Click(dialog->FindNextButton());
    EXPECT_TRUE(dialog->MatchText("xxABCxx"));
    EXPECT_TRUE(dialog->MatchText("aBc"));
    EXPECT_FALSE(dialog->MatchText("ABD"));
    delete dialog;
}

TEST_F(CFindDialogTest, SearchBoxKeepsFifteenEntriesNewestFirst) {
    auto* dialog = new CFindDialog(owner);
    CSearchBox* box = dialog->SearchBox();
    for (int i = 1; i <= 16; ++i) {
        box->SetValue(wxString::Format("text %d", i));
        PressEnter(box);
    }
    ASSERT_EQ(box->GetCount(), 15u);
    EXPECT_EQ(box->GetString(0), "text 16");
    EXPECT_EQ(box->GetString(14), "text 2");
    EXPECT_EQ(box->GetSelection(), 0);
    EXPECT_EQ(box->GetValue(), "text 16");

    // Duplicates are kept.
    PressEnter(box);
    EXPECT_EQ(box->GetString(0), "text 16");
    EXPECT_EQ(box->GetString(1), "text 16");
    EXPECT_EQ(box->GetCount(), 15u);
    delete dialog;
}

TEST_F(CFindDialogTest, HoldingEnterAddsOneEntry) {
    auto* dialog = new CFindDialog(owner);
    CSearchBox* box = dialog->SearchBox();
    box->SetValue("held");
    // A held key: key-downs repeat with no key-up until it is let go.
    PressEnter(box, false);
    PressEnter(box, false);
    PressEnter(box, false);
    PressEnter(box, true);
    EXPECT_EQ(box->GetCount(), 1u);
    PressEnter(box);  // released and pressed again: a new entry
    EXPECT_EQ(box->GetCount(), 2u);
    delete dialog;
}

TEST_F(CFindDialogTest, EnterInTheSearchBoxLeavesFindNextAsItWas) {
    auto* dialog = new CFindDialog(owner);
    dialog->SearchBox()->SetValue("abc");
    Click(dialog->FindButton());
    ASSERT_TRUE(dialog->FindNextButton()->IsEnabled());
    PressEnter(dialog->SearchBox());
    EXPECT_TRUE(dialog->FindNextButton()->IsEnabled()) << "filing the text in the history is no edit";
    delete dialog;
}

}  // namespace qs::test
