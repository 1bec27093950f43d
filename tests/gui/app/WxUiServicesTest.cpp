#include "app/common/WxUiServices.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GuiWait.h"
#include "WmDisplay.h"
#include "app/common/CMessageBoxDlg.h"
#include "app/common/CProgressWnd.h"

namespace qs::test {

namespace {

// Installs the wx services for one test and puts back what was there.
class WxUi {
public:
    explicit WxUi(wxWindow* main = nullptr) : saved_(Ui()) { InstallWxUiServices(main); }
    ~WxUi() { Ui() = saved_; }

private:
    UiServices saved_;
};

CMessageBoxDlg* ShownBox() {
    for (wxWindow* w : wxTopLevelWindows) {
        if (auto* box = dynamic_cast<CMessageBoxDlg*>(w); box && box->IsModal()) return box;
    }
    return nullptr;
}

std::vector<wxButton*> ButtonsOf(wxWindow* box) {
    std::vector<wxButton*> out;
    for (wxWindow* child : box->GetChildren()) {
        if (auto* b = dynamic_cast<wxButton*>(child)) out.push_back(b);
    }
    return out;
}

// Acts on the box once it is up (the action runs inside its modal loop).
void WhenBoxShown(std::function<void(CMessageBoxDlg&)> act) {
    wxTheApp->CallAfter([act] {
        if (CMessageBoxDlg* box = ShownBox()) act(*box);
        else WhenBoxShown(act);
    });
}

void Click(wxButton* b) {
    wxCommandEvent click(wxEVT_BUTTON, b->GetId());
    click.SetEventObject(b);
    b->GetEventHandler()->ProcessEvent(click);
}

void ClickLabel(CMessageBoxDlg& box, const wxString& label) {
    for (wxButton* b : ButtonsOf(&box)) {
        if (b->GetLabel() == label) return Click(b);
    }
    ADD_FAILURE() << "no button " << label;
    box.EndModal(wxID_NONE);
}

void PressEsc(CMessageBoxDlg& box) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_ESCAPE;
    key.SetEventObject(&box);
    box.GetEventHandler()->ProcessEvent(key);
}

void PressLetter(CMessageBoxDlg& box, wxChar letter, int modifiers = wxMOD_NONE) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = wxToupper(letter);
    key.m_uniChar = letter;
    key.m_altDown = (modifiers & wxMOD_ALT) != 0;
    key.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
    key.SetEventObject(&box);
    box.GetEventHandler()->ProcessEvent(key);
}

}  // namespace

TEST(WxPrompt, AButtonsUnderlinedLetterAnswersWithOrWithoutAlt) {
    WxUi ui;
    struct Case {
        unsigned type;
        wxChar letter;
        int modifiers;
        int answer;
    };
    const std::vector<Case> cases = {
        {MB_YESNOCANCEL, 'n', wxMOD_NONE, IDNO},     {MB_YESNOCANCEL, 'Y', wxMOD_NONE, IDYES},
        {MB_YESNOCANCEL, 'y', wxMOD_ALT, IDYES},     {MB_ABORTRETRYIGNORE, 'i', wxMOD_NONE, IDIGNORE},
        {MB_ABORTRETRYIGNORE, 'r', wxMOD_NONE, IDRETRY}, {MB_RETRYCANCEL, 'R', wxMOD_NONE, IDRETRY},
    };
    for (const Case& c : cases) {
        WhenBoxShown([c](CMessageBoxDlg& box) { PressLetter(box, c.letter, c.modifiers); });
        EXPECT_EQ(ShowMessage("Save changes to site.D3X?", c.type | MB_ICONEXCLAMATION), c.answer)
            << "type " << c.type << " key " << static_cast<char>(c.letter);
    }
    // A letter of no button, or one with Ctrl, answers nothing.
    WhenBoxShown([](CMessageBoxDlg& box) {
        PressLetter(box, 'x');
        PressLetter(box, 'n', wxMOD_CONTROL);
        EXPECT_TRUE(box.IsModal());
        ClickLabel(box, "Cancel");
    });
    EXPECT_EQ(ShowMessage("Save changes to site.D3X?", MB_YESNOCANCEL), IDCANCEL);
}

TEST(WxPrompt, EachButtonSetAnswersWithTheWindowsIds) {
    WxUi ui;
    struct Case {
        unsigned type;
        std::vector<std::pair<wxString, int>> buttons;
    };
    const std::vector<Case> cases = {
        {MB_OK, {{"OK", IDOK}}},
        {MB_OKCANCEL, {{"OK", IDOK}, {"Cancel", IDCANCEL}}},
        {MB_ABORTRETRYIGNORE, {{"&Abort", IDABORT}, {"&Retry", IDRETRY}, {"&Ignore", IDIGNORE}}},
        {MB_YESNOCANCEL, {{"&Yes", IDYES}, {"&No", IDNO}, {"Cancel", IDCANCEL}}},
        {MB_YESNO, {{"&Yes", IDYES}, {"&No", IDNO}}},
        {MB_RETRYCANCEL, {{"&Retry", IDRETRY}, {"Cancel", IDCANCEL}}},
    };
    for (const auto& c : cases) {
        for (const auto& [label, id] : c.buttons) {
            std::vector<wxString> labels;
            WhenBoxShown([&labels, label = label](CMessageBoxDlg& box) {
                for (wxButton* b : ButtonsOf(&box)) labels.push_back(b->GetLabel());
                ClickLabel(box, label);
            });
            EXPECT_EQ(ShowMessage("Error in transfer - Time-out", c.type | MB_ICONEXCLAMATION), id)
                << "type " << c.type << " button " << label;
            std::vector<wxString> expected;
            for (const auto& b : c.buttons) expected.push_back(b.first);
            EXPECT_EQ(labels, expected) << "type " << c.type;
        }
    }
}

TEST(WxPrompt, EscAndTheCloseBoxAnswerOnlyWhereWindowsWould) {
    WxUi ui;
    WhenBoxShown([](CMessageBoxDlg& box) { PressEsc(box); });
    EXPECT_EQ(ShowMessage("x", MB_OKCANCEL), IDCANCEL);
    WhenBoxShown([](CMessageBoxDlg& box) { PressEsc(box); });
    EXPECT_EQ(ShowMessage("x", MB_OK), IDOK);
    WhenBoxShown([](CMessageBoxDlg& box) { EXPECT_TRUE(box.Close()); });
    EXPECT_EQ(ShowMessage("x", MB_RETRYCANCEL), IDCANCEL);

    // Abort/Retry/Ignore and Yes/No have no Cancel: Esc and the close box leave the box up,
    // so a stray key can never mean Ignore.
    WhenBoxShown([](CMessageBoxDlg& box) {
        PressEsc(box);
        EXPECT_FALSE(box.Close());
        EXPECT_TRUE(box.IsModal());
        ClickLabel(box, "&Retry");
    });
    EXPECT_EQ(ShowMessage("Error reading - Bad CRC", MB_ABORTRETRYIGNORE), IDRETRY);
    WhenBoxShown([](CMessageBoxDlg& box) {
        PressEsc(box);
        EXPECT_FALSE(box.Close());
        ClickLabel(box, "&No");
    });
    EXPECT_EQ(ShowMessage("Save changes?", MB_YESNO | MB_ICONQUESTION), IDNO);
}

TEST(WxPrompt, DefaultButtonTextAndCaption) {
    WxUi ui;
    wxTheApp->SetAppDisplayName("Quillset");
    struct Seen {
        wxString defaultLabel, caption, text;
    } seen;
    auto record = [&seen](CMessageBoxDlg& box) {
        auto* def = dynamic_cast<wxButton*>(box.GetDefaultItem());
        seen.defaultLabel = def ? def->GetLabel() : wxString();
        seen.caption = box.GetTitle();
        for (wxWindow* child : box.GetChildren()) {
            if (auto* t = dynamic_cast<wxStaticText*>(child)) seen.text = t->GetLabelText();
        }
        box.EndModal(wxID_NONE);
    };
    WhenBoxShown(record);
    EXPECT_EQ(ShowMessage("%s &Abort 50%", MB_YESNO | MB_DEFBUTTON2), IDNO);  // ended unanswered: cautious
    EXPECT_EQ(seen.defaultLabel, "&No");
    EXPECT_EQ(seen.caption, "Quillset");
    EXPECT_EQ(seen.text, "%s &Abort 50%");

    WhenBoxShown(record);
    EXPECT_EQ(ShowMessage("Bad CRC", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, "Card Database"), IDABORT);
    EXPECT_EQ(seen.defaultLabel, "&Ignore");
    EXPECT_EQ(seen.caption, "Card Database");

    WhenBoxShown(record);
    ShowMessage("x", MB_OK | MB_DEFBUTTON3);  // a default past the set falls back to the first
    EXPECT_EQ(seen.defaultLabel, "OK");
}

TEST(WxUiServices, ProgressComesFromTheFactoryAndBoxesSitOverIt) {
    wxFrame* main = new wxFrame(nullptr, wxID_ANY, "Quillset", wxPoint(0, 0), wxSize(600, 400));
    main->Show();
    {
        WxUi ui(main);
        auto progress = MakeProgress("Reading Equations", false);
        auto* wnd = dynamic_cast<CProgressWnd*>(progress.get());
        ASSERT_NE(wnd, nullptr);
        EXPECT_EQ(wnd->GetTitle(), "Reading Equations");
        EXPECT_EQ(wnd->GetParent(), main);
        EXPECT_EQ(CProgressWnd::Current(), wnd);

        wxWindow* boxParent = nullptr;
        WhenBoxShown([&](CMessageBoxDlg& box) {
            boxParent = box.GetParent();
            box.EndModal(wxID_NONE);
        });
        ShowMessage("Error initiating read - Time-out", MB_OKCANCEL);
        EXPECT_EQ(boxParent, wnd);
        progress.reset();
        EXPECT_EQ(CProgressWnd::Current(), nullptr);

        WhenBoxShown([&](CMessageBoxDlg& box) {
            boxParent = box.GetParent();
            box.EndModal(wxID_NONE);
        });
        ShowMessage("x", MB_OK);
        EXPECT_EQ(boxParent, main);
    }
    main->Destroy();
}

TEST(WxUiServices, BoxesSitOverTheDialogThatRunsModally) {
    wxFrame* main = new wxFrame(nullptr, wxID_ANY, "Quillset", wxPoint(0, 0), wxSize(600, 400));
    main->Show();
    {
        WxUi ui(main);
        wxDialog dialog(main, wxID_ANY, "Calculator");
        wxWindow* boxParent = nullptr;
        dialog.CallAfter([&] {
            WhenBoxShown([&](CMessageBoxDlg& box) {
                boxParent = box.GetParent();
                box.EndModal(wxID_NONE);
            });
            ShowMessage("Not enough samples were entered.", MB_OK);
            dialog.EndModal(wxID_CANCEL);
        });
        dialog.ShowModal();
        EXPECT_EQ(boxParent, &dialog);
    }
    main->Destroy();
}

TEST(WxUiServices, SocketWaitPumpsThroughTheProgressWindow) {
    WxUi ui;
    auto progress = MakeProgress("Uploading", false);
    auto* wnd = dynamic_cast<CProgressWnd*>(progress.get());
    ASSERT_NE(wnd, nullptr);
    auto postEsc = [wnd] {
        auto* key = new wxKeyEvent(wxEVT_CHAR_HOOK);
        key->m_keyCode = WXK_ESCAPE;
        key->SetEventObject(wnd);
        wnd->GetEventHandler()->QueueEvent(key);
    };
    // The transfer last pumped without Esc: a socket wait keeps to that.
    wnd->PeekAndPump(false, true);
    postEsc();
    auto reached = std::make_shared<bool>(false);
    wnd->CallAfter([reached] { *reached = true; });
    ASSERT_TRUE(PumpUntil([&] { return *reached; }, 5000, [] { RunIdle(); }));
    EXPECT_FALSE(progress->Cancelled());

    progress->PeekAndPump(true, true);
    postEsc();
    EXPECT_TRUE(PumpUntil([&] { return progress->Cancelled(); }, 5000, [] { RunIdle(); }));
}

TEST(WxUiServices, SocketWaitWithoutProgressRepaintsButHoldsInput) {
    if (!OnOwnDisplay()) return;
    WxUi ui;
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Quillset", wxPoint(0, 0), wxSize(600, 400));
    auto* panel = new wxPanel(frame);
    auto* button = new wxButton(panel, wxID_ANY, "Read All", wxPoint(10, 10), wxSize(120, 40));
    int clicks = 0;
    button->Bind(wxEVT_BUTTON, [&clicks](wxCommandEvent&) { ++clicks; });
    frame->Show();
    // Paint gets through the wait.
    auto drawn = std::make_shared<bool>(false);
    panel->Bind(wxEVT_PAINT, [drawn](wxPaintEvent& e) {
        *drawn = true;
        e.Skip();
    });
    EXPECT_TRUE(PumpUntil([&] { return *drawn; }, 5000, [] { RunIdle(); }));

    wxUIActionSimulator sim;
    const wxRect r = button->GetScreenRect();
    sim.MouseMove(r.x + r.width / 2, r.y + r.height / 2);
    sim.MouseClick();
    EXPECT_FALSE(PumpUntil([&] { return clicks > 0; }, 300, [] { RunIdle(); }));
    // The click was held, not lost: it lands once the wait is over.
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
    frame->Destroy();
}

}  // namespace qs::test
