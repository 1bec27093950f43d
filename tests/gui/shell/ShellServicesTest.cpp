// Help, fonts, the About box and the command line: the smaller services of the application.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "GuiPump.h"
#include "Processes.h"
#include "QuillsetProcess.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "TestEnv.h"
#include "app/shell/CAboutDlg.h"
#include "app/shell/CMainStatusBar.h"
#include "app/shell/CSplashWnd.h"
#include "app/shell/ContextHelp.h"
#include "app/shell/PrivateFonts.h"
#include "app/shell/RevisionTexts.h"

namespace qs::test {

// Up at once over its parent without taking the focus, and gone when its own timer fires.
TEST(QuillsetSplash, ShowsAtOnceOverItsParentAndItsTimerClosesIt) {
    auto* parent = new wxFrame(nullptr, wxID_ANY, "parent");
    parent->Show();
    auto* splash = new CSplashWnd(parent);
    EXPECT_EQ(CSplashWnd::Current(), splash);
    EXPECT_TRUE(splash->IsShown());
    EXPECT_EQ(splash->GetTitle(), "Starting Quillset");
    EXPECT_TRUE(splash->HasFlag(wxSTAY_ON_TOP) && splash->HasFlag(wxFRAME_FLOAT_ON_PARENT));
    wxTimer otherTimer(splash, CSplashWnd::kTimerId + 1), ownTimer(splash, CSplashWnd::kTimerId);
    wxTimerEvent other(otherTimer), tick(ownTimer);
    splash->GetEventHandler()->ProcessEvent(other);
    PumpFor(50);
    EXPECT_EQ(CSplashWnd::Current(), splash) << "another timer does not close it";
    splash->GetEventHandler()->ProcessEvent(tick);
    EXPECT_TRUE(PumpUntil([] { return CSplashWnd::Current() == nullptr; }));
    parent->Destroy();
    PumpFor(20);
}

TEST(QuillsetHelp, ContextIdsAreFoundUpTheParentsAndMissingHelpIsSaid) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "help test");
    auto* panel = new wxPanel(frame);
    auto* inner = new wxPanel(panel);
    ContextHelp::SetId(frame, 100);
    EXPECT_EQ(ContextHelp::FindFrom(inner), 100);
    ContextHelp::SetId(panel, 140);
    EXPECT_EQ(ContextHelp::FindFrom(inner), 140);
    EXPECT_EQ(ContextHelp::GetId(inner), 0);
    ContextHelp::SetId(panel, 0);
    EXPECT_EQ(ContextHelp::FindFrom(inner), 100);
    EXPECT_EQ(ContextHelp::FindFrom(nullptr), 0);
    frame->Destroy();

    TempDir dir;
    EXPECT_FALSE(ContextHelp::FindBook({dir.Path()}));
    std::filesystem::create_directory(dir.File("help"));
    dir.Write("help/Quillset.hhp", "[OPTIONS]\nTitle=Quillset\n");
    EXPECT_EQ(ContextHelp::FindBook({"", dir.Path()}), dir.File("help/Quillset.hhp"));

    // With no help installed the commands say so and show nothing.
    RecordingUi ui;
    TempDir empty;
    ScopedEnv data("QUILLSET_DATA_DIR", empty.Path());
    ScopedEnv dataHome("XDG_DATA_HOME", empty.Path());
    if (ContextHelp::FindBook()) GTEST_SKIP() << "help is installed on this machine: " << *ContextHelp::FindBook();
    EXPECT_FALSE(ContextHelp::ShowContents(ui.services));
    EXPECT_FALSE(ContextHelp::ShowTopic(ui.services, 140));
    EXPECT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.LastMessage(), ContextHelp::kNoHelpMessage);
}

TEST(QuillsetFonts, ShippedFaceFilesAreAddedAndNothingElse) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("fonts"));
    const std::string face = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    ASSERT_TRUE(std::filesystem::exists(face)) << "package fonts-dejavu-core";
    std::filesystem::copy_file(face, dir.File("fonts/Kez.ttf"));
    dir.Write("fonts/README.txt", "not a font");
    dir.Write("fonts/empty.otf.bak", "");
    TempDir other;  // no fonts folder
    const auto added = PrivateFonts::Install({other.Path(), dir.Path()});
    EXPECT_EQ(added, std::vector<std::string>{dir.File("fonts/Kez.ttf")});
}

TEST(QuillsetAbout, ShowsTheRevisionInRedOnWhite) {
    CAboutDlg about(nullptr);
    EXPECT_EQ(about.GetTitle(), "About Quillset for Duravane III.net");
    auto* revision = dynamic_cast<wxStaticText*>(about.FindWindow(1165));
    auto* notice = dynamic_cast<wxStaticText*>(about.FindWindow(1166));
    ASSERT_TRUE(revision && notice);
    EXPECT_EQ(revision->GetLabel(), "Revision 11.26");
    EXPECT_EQ(revision->GetForegroundColour(), wxColour(0xFF, 0x33, 0x33));
    EXPECT_EQ(revision->GetBackgroundColour(), *wxWHITE);
    EXPECT_TRUE(revision->GetFont().GetWeight() >= wxFONTWEIGHT_BOLD);
    EXPECT_EQ(revision->GetFont().GetPointSize(), 16);
    EXPECT_EQ(notice->GetLabel(), RevisionTexts::kNotice);
}

TEST(QuillsetCommandLine, ABadCommandLineEndsWithAMessageAndNoWindow) {
    QuillsetHome home;
    QuillsetProcess bad(home, {"--print", "a.D3X"});
    const auto status = bad.WaitForExit(std::chrono::seconds(20));
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 2);
    EXPECT_NE(bad.Output().find("quillset: unknown option --print"), std::string::npos) << bad.Output();
    EXPECT_NE(bad.Output().find("Usage: quillset"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(home.IniPath())) << "it ended before doing anything";

    QuillsetProcess help(home, {"--help"});
    EXPECT_EQ(help.WaitForExit(std::chrono::seconds(20)), 0);
    EXPECT_NE(help.Output().find("Usage: quillset"), std::string::npos);
}

}  // namespace qs::test
