// The program-code list in the document's window, tried as a technician does: the demo
// document online with the simulated controller, a code selected in the tree, Enter, a new
// value, OK; then Tab back to the tree.
#include <gtest/gtest.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>

#include "../dialogs/DialogDriving.h"
#include "Processes.h"
#include "ShellFixture.h"
#include "WmDisplay.h"
#include "SimRig.h"
#include "app/programdata/CDirectoryView.h"
#include "app/programdata/CParamEditDlg.h"
#include "app/programdata/CParamListView.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/shell/CMainStatusBar.h"
#include "programdata/CDirectory.h"

namespace qs::test {
namespace {

class EditorTimer : public wxTimer {
public:
    explicit EditorTimer(std::function<void(CParamEditDlg&)> act) : act_(std::move(act)) { Start(20); }
    void Notify() override {
        for (wxWindow* w : wxTopLevelWindows) {
            if (auto* d = dynamic_cast<CParamEditDlg*>(w); d && d->IsModal()) {
                Stop();
                act_(*d);
                return;
            }
        }
    }

private:
    std::function<void(CParamEditDlg&)> act_;
};

using ListInFrame = ShellFixture;

TEST_F(ListInFrame, EnterOnACodeOfTheOnlineDemoWritesItAndTheListShowsTheEcho) {
    if (!OnOwnWmDisplay()) return;
    SimRig sim;
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    options.AutoConnect = true;
    CVexa3WxDoc* doc = Open(WriteDocument("demo.D3X", sim.Host()));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return doc->Core().State() == CVexa3Doc::kStateOnline; }, 15000)) << ui.LastMessage();
    auto* view = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
    ASSERT_NE(view, nullptr);
    CSplitterFrame* frame = view->Frame();
    ASSERT_NE(frame, nullptr);
    auto* list = dynamic_cast<CParamListView*>(frame->Pane());
    ASSERT_NE(list, nullptr) << "the right pane is the program-code list";

    // The tree item of System's subdirectory holding code 1.
    CDirectory* system = doc->Core().FindDirectory(CDirectory::kSystem);
    CSubdirectory* holder = nullptr;
    ASSERT_NE(system->FindParam(1, &holder), nullptr);
    const auto& nodes = view->Layout().nodes;
    int node = -1;
    for (size_t i = 0; i < nodes.size() && node < 0; ++i)
        if (nodes[i].Subdirectory() == holder) node = static_cast<int>(i);
    ASSERT_GE(node, 0);
    view->Tree()->SelectItem(view->ItemOf(node));
    PumpFor(100);
    ASSERT_EQ(list->Shown().subdirectory, holder);
    long row = -1;
    for (long r = 0; r < list->GetItemCount() && row < 0; ++r)
        if (list->RowParam(r)->number == 1) row = r;
    ASSERT_GE(row, 0);
    list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list->EnsureVisible(row);
    frame->ActivatePane();
    ASSERT_TRUE(PumpUntil([&] {
        const wxWindow* f = wxWindow::FindFocus();
        return f == list || (f && f->GetParent() == list);
    })) << "the list never had the focus";

    bool sawEditor = false;
    EditorTimer watch([&](CParamEditDlg& dialog) {
        sawEditor = true;
        EXPECT_EQ(dialog.CaptionText()->GetLabel(), "System 001 - Additive 1 Injection Volume");
        Type(dialog.NewField(), "7,25");
        ClickOk(dialog);
    });
    wxUIActionSimulator keyboard;
    keyboard.Char(WXK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return list->LastOutcome() != ParamEditFlow::Outcome::NotEditable; }, 15000));
    EXPECT_TRUE(sawEditor);
    EXPECT_EQ(list->LastOutcome(), ParamEditFlow::Outcome::Written) << ui.LastMessage();
    EXPECT_TRUE(sim.WaitForCommand("PC SY 001 007.25"));
    PumpFor(100);
    EXPECT_EQ(list->CellText(list->FocusedRow(), CParamListView::kValueColumn), "007.25");
    EXPECT_EQ(list->RowParam(list->FocusedRow())->number, 1) << "the refill keeps the row";

    frame->Raise();
    PumpFor(200);
    const wxRect r = frame->GetScreenRect();
    RunTool({"import", "-window", "root", "-crop",
             std::to_string(r.width) + "x" + std::to_string(r.height) + "+" + std::to_string(r.x) + "+" +
                 std::to_string(r.y),
             "/tmp/list-in-frame.png"});

    // Tab goes to the tree.
    keyboard.Char(WXK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == view->Tree(); }, 3000));
}

}  // namespace
}  // namespace qs::test
