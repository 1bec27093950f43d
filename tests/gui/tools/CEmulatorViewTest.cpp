// The terminal window as the device frame opens it: one for the program, its menus, and what
// is typed or picked reaching the simulated controller and coming back into the transcript.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/choice.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include <functional>

#include "ShellFixture.h"
#include "SimRig.h"
#include "app/programdata/CDirectoryView.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/shell/CMainStatusBar.h"
#include "app/shell/CommandIds.h"
#include "app/tools/CEmulatorView.h"
#include "app/tools/CTerminalFrame.h"
#include "appmodel/programdata/DeviceCommands.h"
#include "appmodel/terminal/TerminalSession.h"

namespace qs::test {

namespace {

// No main loop runs in a test program: what the windows left for later runs here.
void Settle() {
    PumpFor(10);
    wxTheApp->ProcessPendingEvents();
}

bool SettleUntil(const std::function<bool()>& done) {
    return PumpUntil([&] {
        wxTheApp->ProcessPendingEvents();
        return done();
    });
}

int TerminalViews(wxDocManager& manager) {
    int n = 0;
    for (wxDocument* doc : manager.GetDocumentsVector())
        for (wxView* view : doc->GetViewsVector()) n += dynamic_cast<CEmulatorView*>(view) ? 1 : 0;
    return n;
}

}  // namespace

class TerminalWindow : public ShellFixture {
protected:
    CSplitterFrame* OpenDevice(const std::string& name, const std::string& host) {
        CVexa3WxDoc* doc = Open(WriteDocument(name, host));
        if (!doc) return nullptr;
        EXPECT_GE(doc->Core().Connect(true), CVexa3Doc::kStateReadOnly);
        auto* view = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
        PumpFor(100);
        return view ? view->Frame() : nullptr;
    }
    // Text typed into the entry one character at a time, as the keyboard gives it.
    static void Type(wxTextCtrl* entry, const std::string& keys) {
        for (char c : keys) {
            entry->SetInsertionPointEnd();
            entry->WriteText(wxString(c));
            Settle();
        }
    }
};

TEST_F(TerminalWindow, OpensOnceForTheProgramAndTalksToTheDevice) {
    SimRig sim({.args = {"--addresses", "1-6"}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    CSplitterFrame* first = OpenDevice("rack.D3X", sim.Host());
    CSplitterFrame* second = OpenDevice("other.D3X", sim.Host());
    ASSERT_TRUE(first && second);

    first->RunCommand(kCmdTerminalEmulator);
    PumpFor(100);
    CEmulatorView* terminal = CEmulatorView::FindOpen(*manager);
    ASSERT_NE(terminal, nullptr);
    EXPECT_EQ(terminal->GetDocument(), &first->Doc());
    EXPECT_EQ(terminal->Frame()->GetTitle(), "Terminal Emulator - rack.D3X");
    EXPECT_EQ(terminal->ArmList()->GetCount(), 6u);
    EXPECT_EQ(terminal->ArmList()->GetStringSelection(), "Arm 1");

    // Its menu stands in the main menu bar while it is the active window, with Undo in Edit.
    wxMenuBar* bar = frame->GetMenuBar();
    const int commands = bar->FindMenu("Commands");
    ASSERT_NE(commands, wxNOT_FOUND);
    EXPECT_EQ(bar->GetMenu(static_cast<size_t>(commands))->GetMenuItemCount(), 9u);
    EXPECT_EQ(bar->FindItem(18101)->GetItemLabel().utf8_string(), "&EQ - Status Bitmap\tF4");
    EXPECT_NE(bar->FindItem(wxID_UNDO), nullptr);

    // From another document's frame the command brings the same window back.
    second->RunCommand(kCmdTerminalEmulator);
    PumpFor(50);
    EXPECT_EQ(TerminalViews(*manager), 1);
    EXPECT_EQ(CEmulatorView::FindOpen(*manager), terminal);

    // Typed in lower case, run on Return, answered in the transcript.
    Type(terminal->Entry(), "gp");
    EXPECT_EQ(terminal->Entry()->GetValue(), "GP");
    Type(terminal->Entry(), "\n");
    EXPECT_EQ(terminal->Entry()->GetValue(), "");
    EXPECT_EQ(terminal->Transcript()->GetValue(), "01GP" + std::string(38, ' ') + " 0A463B8B\n");

    // A canned command from the menu bar reaches the terminal through the main window.
    wxCommandEvent status(wxEVT_MENU, 18101);
    frame->ProcessWindowEvent(status);
    Settle();
    EXPECT_TRUE(terminal->Transcript()->GetValue().EndsWith(" 0000000000000000\n"));
    ASSERT_TRUE(sim.WaitForCommand("EQ", 1));

    // Cut, Copy and Paste follow the focused text control.
    terminal->Transcript()->SetFocus();
    terminal->Transcript()->SetSelection(0, 4);
    PumpFor(50);
    if (wxWindow::FindFocus() == terminal->Transcript()) {
        EXPECT_TRUE(terminal->Frame()->CanEdit(ID_EDIT_COPY));
        EXPECT_FALSE(terminal->Frame()->CanEdit(ID_EDIT_CUT)) << "the transcript is read-only";
    }
}

TEST_F(TerminalWindow, AMacroRunsLineByLineAndExitClosesOnlyTheTerminal) {
    SimRig sim({.args = {"--addresses", "1-6"}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    CSplitterFrame* device = OpenDevice("rack.D3X", sim.Host());
    ASSERT_NE(device, nullptr);
    device->RunCommand(kCmdTerminalEmulator);
    PumpFor(50);
    CEmulatorView* terminal = CEmulatorView::FindOpen(*manager);
    ASSERT_NE(terminal, nullptr);

    const std::string macro = home_.File("three.mac");
    {
        std::FILE* f = std::fopen(macro.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("ECHO start\r\nARM 2\r\nGP\r\n", f);
        std::fclose(f);
    }
    terminal->Entry()->ChangeValue(wxString::FromUTF8("PLAY " + macro));
    Type(terminal->Entry(), "\n");
    ASSERT_TRUE(SettleUntil([&] { return !terminal->Session().MacroRunning(); }));
    ASSERT_TRUE(sim.WaitForCommand("GP", 2));
    const wxString shown = terminal->Transcript()->GetValue();
    EXPECT_TRUE(shown.Contains("start")) << shown;
    EXPECT_TRUE(shown.EndsWith("02GP" + std::string(38, ' ') + " 0A463B8B\n")) << shown;
    EXPECT_EQ(terminal->ArmList()->GetStringSelection(), "Arm 2");

    Type(terminal->Entry(), "EXIT\n");
    ASSERT_TRUE(SettleUntil([&] { return CEmulatorView::FindOpen(*manager) == nullptr; }));
    EXPECT_EQ(manager->GetDocumentsVector().size(), 1u) << "the document stays open";
    EXPECT_EQ(frame->GetMenuBar()->FindMenu("Commands"), wxNOT_FOUND);
    EXPECT_EQ(frame->GetMenuBar()->FindItem(wxID_UNDO), nullptr);
    EXPECT_EQ(frame->StatusPanes()->GetStatusText(CMainStatusBar::kMessagePane), TerminalSession::kReady);
}

}  // namespace qs::test
