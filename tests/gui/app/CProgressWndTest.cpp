#include "app/common/CProgressWnd.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

#include <memory>
#include <string>

#include "GuiWait.h"
#include "WmDisplay.h"

namespace qs::test {

namespace {

wxButton* CancelButtonOf(CProgressWnd& w) {
    return wxStaticCast(w.FindWindow(CProgressWnd::ID_CANCEL_BUTTON), wxButton);
}
wxGauge* BarOf(CProgressWnd& w) { return wxStaticCast(w.FindWindow(CProgressWnd::ID_BAR), wxGauge); }
wxStaticText* StatusOf(CProgressWnd& w) {
    return wxStaticCast(w.FindWindow(CProgressWnd::ID_STATUS_TEXT), wxStaticText);
}

// Queues an Esc key press for the window, as the toolkit delivers it to a top-level window.
void PostEsc(wxWindow* win) {
    auto* key = new wxKeyEvent(wxEVT_CHAR_HOOK);
    key->m_keyCode = WXK_ESCAPE;
    key->SetEventObject(win);
    win->GetEventHandler()->QueueEvent(key);
}

// Pumps the progress window until an event queued after everything before it has run.
bool PumpPastQueued(CProgressWnd& w, bool cancelOnEsc) {
    auto reached = std::make_shared<bool>(false);
    w.CallAfter([reached] { *reached = true; });
    return PumpUntil([&] { return *reached; }, 5000, [&] { w.PeekAndPump(cancelOnEsc, true); });
}

// A frame standing for the main window, with a button whose clicks are counted.
struct OtherWindow {
    OtherWindow() {
        frame = new wxFrame(nullptr, wxID_ANY, "Main", wxPoint(0, 0), wxSize(800, 600));
        panel = new wxPanel(frame);
        button = new wxButton(panel, wxID_ANY, "Read All", wxPoint(10, 10), wxSize(120, 40));
        button->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ++clicks; });
        frame->Show();
    }
    ~OtherWindow() { frame->Destroy(); }
    wxFrame* frame;
    wxPanel* panel;
    wxButton* button;
    int clicks = 0;
};

void ClickOn(wxWindow* win) {
    wxUIActionSimulator sim;
    const wxRect r = win->GetScreenRect();
    sim.MouseMove(r.x + r.width / 2, r.y + r.height / 2);
    sim.MouseClick();
}

}  // namespace

TEST(CProgressWnd, CaptionShowsThePercentageAndChangesOncePerPercent) {
    CProgressWnd w(nullptr, "Reading Device", false);
    EXPECT_TRUE(w.IsShown());
    EXPECT_EQ(w.GetTitle(), "Reading Device");
    w.SetRange(0, 1000, 1);
    EXPECT_EQ(w.SetPos(500), 0);
    EXPECT_EQ(w.GetTitle(), "Reading Device [50%]");
    EXPECT_EQ(BarOf(w)->GetValue() * 2, BarOf(w)->GetRange());

    // A second position in the same percent leaves the caption alone: a caption set behind
    // the window's back survives it.
    w.SetTitle("untouched");
    EXPECT_EQ(w.SetPos(505), 500);
    EXPECT_EQ(w.GetTitle(), "untouched");
    w.StepIt();
    EXPECT_EQ(w.GetTitle(), "untouched");
    w.OffsetPos(4);
    EXPECT_EQ(w.GetTitle(), "Reading Device [51%]");
    EXPECT_EQ(w.Model().Position(), 510);

    // The bar follows a range of firmware size.
    w.SetRange(0, 21000000, 1);
    w.SetPos(15750000);
    EXPECT_EQ(w.GetTitle(), "Reading Device [75%]");
    EXPECT_EQ(BarOf(w)->GetValue() * 4, BarOf(w)->GetRange() * 3);
}

TEST(CProgressWnd, BarShowsOnlyForANonEmptyRangeAndKeepsItsPlace) {
    CProgressWnd w(nullptr, "Sending", true);
    wxGauge* bar = BarOf(w);
    const wxPoint buttonAt = CancelButtonOf(w)->GetPosition();
    EXPECT_FALSE(bar->IsShown());  // until a range is given
    w.SetRange(0, 100, 1);
    EXPECT_TRUE(bar->IsShown());
    w.SetRange(7, 7, 1);
    EXPECT_FALSE(bar->IsShown());
    w.SetPos(7);
    w.SetPos(100000);
    EXPECT_EQ(w.GetTitle(), "Sending");
    EXPECT_EQ(CancelButtonOf(w)->GetPosition(), buttonAt);
    w.SetRange(-5, 5, 1);
    EXPECT_TRUE(bar->IsShown());
}

TEST(CProgressWnd, StatusTextIsShownLiterallyAndCut) {
    CProgressWnd w(nullptr, "Uploading", false);
    w.SetText("%s%n &Retry 100%");
    EXPECT_EQ(StatusOf(w)->GetLabelText(), "%s%n &Retry 100%");
    w.SetText(std::string(2000, 'x'));
    EXPECT_EQ(StatusOf(w)->GetLabelText().length(), ProgressModel::kMaxTextBytes);
    w.SetText("Caf\xE9");  // code-page text from the device
    EXPECT_EQ(StatusOf(w)->GetLabelText(), wxString::FromUTF8("Caf\xC3\xA9"));
    EXPECT_EQ(CancelButtonOf(w)->GetLabel(), " Cancel ");
}

TEST(CProgressWnd, EscCancelsOnlyWhenThePumpAsksForIt) {
    CProgressWnd w(nullptr, "Terminal", false);
    PostEsc(&w);
    ASSERT_TRUE(PumpPastQueued(w, /*cancelOnEsc=*/false));
    EXPECT_FALSE(w.Cancelled());
    EXPECT_TRUE(w.PeekAndPump(false, true));

    PostEsc(&w);
    EXPECT_TRUE(PumpUntil([&] { return w.Cancelled(); }, 5000, [&] { w.PeekAndPump(true, true); }));
    EXPECT_FALSE(w.PeekAndPump(true, true));
    EXPECT_TRUE(w.IsShown());
}

TEST(CProgressWnd, EscFromTheKeyboardCancels) {
    if (!OnOwnDisplay()) return;
    CProgressWnd w(nullptr, "Reading", false);
    ASSERT_TRUE(WaitUntilDrawn(&w));
    w.PeekAndPump(true, true);  // takes the focus onto its Cancel button
    ASSERT_TRUE(PumpUntil([&] { return w.IsActive(); }, 5000, [&] { w.PeekAndPump(false, true); }));
    wxUIActionSimulator sim;
    ASSERT_TRUE(sim.Char(WXK_ESCAPE));
    // Pumped without Esc: the key arrives and is ignored.
    EXPECT_FALSE(PumpUntil([&] { return w.Cancelled(); }, 300, [&] { w.PeekAndPump(false, true); }));
    ASSERT_TRUE(sim.Char(WXK_ESCAPE));
    EXPECT_TRUE(PumpUntil([&] { return w.Cancelled(); }, 5000, [&] { w.PeekAndPump(true, true); }));
}

TEST(CProgressWnd, CloseFromTheWindowManagerCancelsButLeavesTheWindow) {
    CProgressWnd w(nullptr, "Dump All", false);
    EXPECT_FALSE(w.Close());  // vetoed
    EXPECT_TRUE(w.Cancelled());
    EXPECT_TRUE(w.IsShown());
    w.Close(true);  // not even a forced close takes it away mid-transfer
    EXPECT_TRUE(w.IsShown());
    w.SetPos(50);
    EXPECT_EQ(w.GetTitle(), "Dump All [50%]");
    EXPECT_FALSE(w.PeekAndPump(true, true));
}

TEST(CProgressWnd, AWithdrawnCancelTakesNeitherTheButtonNorEscNorTheWindowManager) {
    CProgressWnd w(nullptr, "Firmware Upgrade Wizard", true);
    w.WithdrawCancel();
    wxButton* button = CancelButtonOf(w);
    EXPECT_FALSE(button->IsEnabled());
    wxCommandEvent click(wxEVT_BUTTON, CProgressWnd::ID_CANCEL_BUTTON);  // one that got through
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
    PostEsc(&w);
    ASSERT_TRUE(PumpPastQueued(w, /*cancelOnEsc=*/true));
    EXPECT_FALSE(w.Close());
    EXPECT_FALSE(w.Cancelled());
    EXPECT_TRUE(w.PeekAndPump(true, true));
    EXPECT_TRUE(w.IsShown());
}

TEST(CProgressWnd, ModalPumpDropsClicksOnOtherWindowsAndTakesItsOwn) {
    if (!OnOwnDisplay()) return;
    OtherWindow main;
    ASSERT_TRUE(WaitUntilDrawn(main.panel));
    {
        CProgressWnd w(main.frame, "Read All", false);
        ASSERT_TRUE(WaitUntilDrawn(&w));
        w.PeekAndPump(true, true);
        EXPECT_FALSE(main.frame->IsEnabled());
        ClickOn(main.button);
        ClickOn(CancelButtonOf(w));
        // Input is taken in order: once the Cancel click is in, the other was dropped.
        ASSERT_TRUE(PumpUntil([&] { return w.Cancelled(); }, 5000, [&] { w.PeekAndPump(true, true); }));
        EXPECT_EQ(main.clicks, 0);
    }
    EXPECT_TRUE(main.frame->IsEnabled());
    // The same click lands once no transfer runs, so the one above was really dropped.
    ClickOn(main.button);
    EXPECT_TRUE(PumpUntil([&] { return main.clicks == 1; }));
}

TEST(CProgressWnd, NonModalPumpLeavesOtherWindowsWorking) {
    if (!OnOwnDisplay()) return;
    OtherWindow main;
    ASSERT_TRUE(WaitUntilDrawn(main.panel));
    CProgressWnd w(main.frame, "Firmware Upgrade", false);
    ASSERT_TRUE(WaitUntilDrawn(&w));
    w.PeekAndPump(true, false);
    EXPECT_TRUE(main.frame->IsEnabled());
    ClickOn(main.button);
    EXPECT_TRUE(PumpUntil([&] { return main.clicks == 1; }, 5000, [&] { w.PeekAndPump(true, false); }));
    EXPECT_FALSE(w.Cancelled());
}

TEST(CProgressWnd, CompletionWaitShowsCloseAndReturnsOnItsButton) {
    OtherWindow main;
    CProgressWnd w(main.frame, "Read All", false);
    w.SetRange(0, 10, 1);
    w.SetPos(10);
    wxButton* button = CancelButtonOf(w);
    wxString textSeen, labelSeen;
    bool wasDefault = false, mainEnabled = true;
    w.CallAfter([&] {
        textSeen = StatusOf(w)->GetLabelText();
        labelSeen = button->GetLabel();
        wasDefault = w.GetDefaultItem() == button;
        mainEnabled = main.frame->IsEnabled();
        wxCommandEvent click(wxEVT_BUTTON, CProgressWnd::ID_CANCEL_BUTTON);
        click.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(click);
    });
    w.WaitForClose();
    EXPECT_EQ(textSeen, "Transfer Complete!");
    EXPECT_EQ(labelSeen, "&Close");
    EXPECT_TRUE(wasDefault);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(w.Cancelled());
}

TEST(CProgressWnd, CompletionWaitEndsOnEscAndGivesBackTheBusyCursor) {
    CProgressWnd w(nullptr, "Dump Selection", false);
    wxBeginBusyCursor();
    bool busyDuring = true;
    w.CallAfter([&] {
        busyDuring = wxIsBusy();
        PostEsc(&w);
    });
    w.WaitForClose();
    EXPECT_FALSE(busyDuring);
    EXPECT_TRUE(wxIsBusy());
    wxEndBusyCursor();
    EXPECT_TRUE(w.Cancelled());
}

TEST(CProgressWnd, ClosingTheMainWindowWaitsForTheTransfer) {
    OtherWindow main;
    int closeRequests = 0;
    main.frame->Bind(wxEVT_CLOSE_WINDOW, [&](wxCloseEvent& e) {
        ++closeRequests;
        e.Veto();  // the test keeps its frame; counting is enough
    });
    {
        CProgressWnd w(main.frame, "Firmware Upgrade", false);
        w.CallAfter([&] { main.frame->Close(); });
        ASSERT_TRUE(PumpPastQueued(w, true));
        // Non-modal too: a close that does reach the frame still waits.
        main.frame->CallAfter([&] { main.frame->Close(); });
        auto reached = std::make_shared<bool>(false);
        main.frame->CallAfter([reached] { *reached = true; });
        ASSERT_TRUE(PumpUntil([&] { return *reached; }, 5000, [&] { w.PeekAndPump(true, false); }));
        EXPECT_EQ(closeRequests, 0);
        EXPECT_TRUE(ModalPump::IsBusy());
    }
    EXPECT_FALSE(ModalPump::IsBusy());
    EXPECT_TRUE(PumpUntil([&] { return closeRequests == 2; }, 5000, [] {
        wxTheApp->ProcessIdle();
        ModalPump::WaitForEvent(10);
    }));
}

}  // namespace qs::test
