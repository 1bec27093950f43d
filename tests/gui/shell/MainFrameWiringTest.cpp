// The main window's commands reaching what answers them, tried on a document as a technician
// does: printing, the Connect bar, a second window, Save As, the recent-file list, the title.
#include <gtest/gtest.h>
#include <wx/aui/auibar.h>
#include <wx/filehistory.h>
#include <wx/generic/printps.h>
#include <wx/listctrl.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <utility>

#include "ShellFixture.h"
#include "SimProcess.h"
#include "WmDisplay.h"
#include "app/programdata/CDirectoryView.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/shell/CConnectBar.h"
#include "app/shell/CMainStatusBar.h"
#include "app/shell/CPowerDocTemplate.h"
#include "app/shell/CommandIds.h"
#include "app/shell/QuillsetDocManager.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"

namespace qs::test {
namespace {

class MainFrameWiring : public ShellFixture {
protected:
    // A command as the menu or its key sends it to the main window.
    void Command(int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        frame->GetEventHandler()->ProcessEvent(event);
    }

    CDirectoryView* WindowOf(CVexa3WxDoc* doc, size_t nth = 0) {
        if (!doc || nth >= doc->GetViews().size()) return nullptr;
        return dynamic_cast<CDirectoryView*>(static_cast<wxView*>(doc->GetViews().Item(nth)->GetData()));
    }
};

TEST_F(MainFrameWiring, PrintAsksSelectionOrWholeAndPrintsTheHeaderAndTheCodes) {
    CVexa3WxDoc* doc = Open(WriteDocument("print.D3X", "127.0.0.1"));
    ASSERT_NE(doc, nullptr);
    PumpFor(50);
    CSplitterFrame* window = WindowOf(doc)->Frame();
    ASSERT_NE(window, nullptr);
    CParam* count = doc->Core().FindDirectory(CDirectory::kConfig)->FindParam(1);
    CParam* recipe = doc->Core().FindDirectory(CDirectory::kRecipe)->FindParam(1);
    ASSERT_NE(count, nullptr);
    ASSERT_NE(recipe, nullptr);

    // Printed to a PostScript file instead of through the print dialog.
    const std::string file = home_.File("printed.ps");
    int printed = 0;
    window->SetPrinter([&](wxPrintout& printout, wxPrintDialogData& data) {
        data.GetPrintData().SetPrintMode(wxPRINT_MODE_FILE);
        data.GetPrintData().SetFilename(wxString::FromUTF8(file));
        wxPostScriptPrinter printer(&data);
        if (printer.Print(nullptr, &printout, false)) ++printed;
    });

    // The whole document: the header with the document's path, then every directory.
    ui.prompt.Answer(IDNO);
    Command(ID_FILE_PRINT);
    EXPECT_EQ(ui.LastMessage(), "Print only the selection?\n(No prints the whole document.)");
    ASSERT_EQ(printed, 1);
    std::string text = ReadWhole(file);
    EXPECT_NE(text.find("(" + doc->GetFilename().utf8_string() + " - "), std::string::npos) << "the header";
    EXPECT_NE(text.find(count->Name()), std::string::npos);
    EXPECT_NE(text.find(recipe->Name()), std::string::npos);

    // The selection only: the first hundred of Config, no recipes.
    ui.prompt.Answer(IDYES);
    Command(ID_FILE_PRINT);
    ASSERT_EQ(printed, 2);
    text = ReadWhole(file);
    EXPECT_NE(text.find(count->Name()), std::string::npos);
    EXPECT_EQ(text.find(recipe->Name()), std::string::npos);

    // Cancel prints nothing.
    ui.prompt.Answer(IDCANCEL);
    Command(ID_FILE_PRINT);
    EXPECT_EQ(printed, 2);
}

TEST_F(MainFrameWiring, TheConnectBarsButtonsGoOnlineAndOffline) {
    if (!OnOwnDisplay()) return;
    // Nothing listens at the document's address: Go Online says so.
    CVexa3WxDoc* doc = Open(WriteDocument("bar.D3X", SimProcess::UniqueLoopbackAddress()));
    ASSERT_NE(doc, nullptr);
    CConnectBar* bar = frame->ConnectBar();
    ASSERT_TRUE(PumpUntil([&] {
        bar->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        return bar->IsShownOnScreen() && bar->GetToolEnabled(ID_GO_ONLINE);
    })) << "the bar and its Go Online button are enabled";
    EXPECT_TRUE(bar->IsEnabled());

    auto click = [&](int id) {
        const wxRect r = bar->GetToolRect(id);
        const wxPoint at = bar->ClientToScreen(wxPoint(r.x + r.width / 2, r.y + r.height / 2));
        wxUIActionSimulator mouse;
        mouse.MouseMove(at);
        PumpFor(50);
        mouse.MouseClick();
    };
    click(ID_GO_ONLINE);
    ASSERT_TRUE(PumpUntil([&] { return !ui.prompt.shown.empty(); }, 15000));
    EXPECT_EQ(ui.LastMessage(), "Duravane.NET not responding");

    doc->Core().SetState(CVexa3Doc::kStateOnline);
    ASSERT_TRUE(PumpUntil([&] {
        bar->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        return bar->GetToolEnabled(ID_GO_OFFLINE);
    }));
    click(ID_GO_OFFLINE);
    EXPECT_TRUE(PumpUntil([&] { return doc->Core().State() == CVexa3Doc::kStateOffline; }));
}

TEST_F(MainFrameWiring, ANewWindowShowsTheSameTreeAndTheWindowsAreNumbered) {
    CVexa3WxDoc* doc = Open(WriteDocument("rack.D3X", "127.0.0.1"));
    ASSERT_NE(doc, nullptr);
    PumpFor(50);
    frame->UpdateTitle();
    EXPECT_EQ(frame->GetTitle(), "Quillset.NET - rack.D3X");
    CDirectoryView* first = WindowOf(doc);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetFrame()->GetLabel(), "rack.D3X");

    Command(ID_WINDOW_NEW);
    CDirectoryView* second = WindowOf(doc, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_GT(first->Tree()->GetCount(), 0u);
    EXPECT_EQ(second->Tree()->GetCount(), first->Tree()->GetCount()) << "filled at once";
    auto* firstList = dynamic_cast<wxListCtrl*>(first->Frame()->Pane());
    auto* secondList = dynamic_cast<wxListCtrl*>(second->Frame()->Pane());
    ASSERT_NE(secondList, nullptr);
    EXPECT_EQ(secondList->GetItemCount(), firstList->GetItemCount());
    EXPECT_GT(secondList->GetItemCount(), 0);
    EXPECT_EQ(first->GetFrame()->GetLabel(), "rack.D3X:1");
    EXPECT_EQ(second->GetFrame()->GetLabel(), "rack.D3X:2");
    frame->UpdateTitle();
    EXPECT_EQ(frame->GetTitle(), "Quillset.NET - rack.D3X") << "the document, not the window";

    second->GetFrame()->Close();
    PumpFor(50);
    EXPECT_EQ(first->GetFrame()->GetLabel(), "rack.D3X");

    // A title given for another reason stays until the active document changes.
    frame->SetTitle("Quillset");
    frame->UpdateTitle();
    EXPECT_EQ(frame->GetTitle(), "Quillset");
    manager->CloseDocuments(true);
    PumpFor(50);
    frame->UpdateTitle();
    EXPECT_EQ(frame->GetTitle(), "Quillset.NET");
}

TEST_F(MainFrameWiring, SaveAsAddsTheExtensionAndFilesAreKeptByTheirWholePath) {
    // Opened by a name relative to the present folder.
    const std::string path = WriteDocument("site.D3X", "10.1.2.3");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(home_.Path());
    CVexa3WxDoc* doc = Open("site.D3X");
    std::filesystem::current_path(before);
    ASSERT_NE(doc, nullptr);
    auto isTheFile = [](const wxString& kept, const std::string& file) {
        const std::filesystem::path p(kept.utf8_string());
        return p.is_absolute() && std::filesystem::equivalent(p, file);
    };
    EXPECT_TRUE(isTheFile(doc->GetFilename(), path)) << doc->GetFilename();
    wxFileHistory* history = manager->GetFileHistory();
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(isTheFile(history->GetHistoryFile(0), path)) << history->GetHistoryFile(0);

    // Save As "test1": saved as "test1.D3X", which the recent-file list takes.
    int asked = 0;
    std::string answer = home_.File("test1");
    templates.programData->SetSavePathChooser([&](wxDocument&, const wxString&, const wxString&) {
        ++asked;
        return wxString::FromUTF8(std::exchange(answer, std::string()));
    });
    Command(ID_FILE_SAVE_AS);
    const std::string saved = home_.File("test1.D3X");
    EXPECT_TRUE(std::filesystem::exists(saved));
    EXPECT_FALSE(std::filesystem::exists(home_.File("test1")));
    EXPECT_EQ(doc->GetFilename().utf8_string(), saved);
    EXPECT_EQ(doc->GetUserReadableName(), "test1.D3X");
    EXPECT_EQ(history->GetHistoryFile(0).utf8_string(), saved);

    // "test1" again: the file it becomes is there, so the user is asked; No asks for another
    // name, and giving none cancels.
    answer = home_.File("test1");
    ui.prompt.Answer(IDNO);
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(ui.LastMessage(), "test1.D3X already exists.\nDo you want to replace it?");
    EXPECT_EQ(asked, 3);

    // A name with an extension of its own keeps it.
    answer = home_.File("site.bak");
    Command(ID_FILE_SAVE_AS);
    EXPECT_TRUE(std::filesystem::exists(home_.File("site.bak")));
}

TEST_F(MainFrameWiring, TheMessagePaneForgetsTheConnectionWhenTheLastDocumentCloses) {
    CVexa3WxDoc* first = Open(WriteDocument("a.D3X", "127.0.0.1"));
    CVexa3WxDoc* second = Open(WriteDocument("b.D3X", "127.0.0.1"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    auto message = [&] { return frame->StatusPanes()->GetStatusText(CMainStatusBar::kMessagePane).utf8_string(); };
    SetStatusText(CVexa3Doc::kConnectedText);
    ASSERT_TRUE(manager->CloseDocument(first));
    EXPECT_EQ(message(), CVexa3Doc::kConnectedText) << "another document is still open";
    ASSERT_TRUE(manager->CloseDocument(second));
    EXPECT_EQ(message(), CVexa3Doc::kClearedText);
}

}  // namespace
}  // namespace qs::test
