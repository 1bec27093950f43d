// Editing a row of an online document with the real editor: the value goes to the simulated
// controller as "PC" and the row shows what the device answered.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <functional>

#include "../dialogs/DialogDriving.h"
#include "ListFixture.h"
#include "SimRig.h"
#include "Processes.h"
#include "WmDisplay.h"
#include "app/programdata/CParamEditDlg.h"

namespace qs::test {
namespace {

CParamEditDlg* ShownEditor() {
    for (wxWindow* w : wxTopLevelWindows) {
        if (auto* d = dynamic_cast<CParamEditDlg*>(w); d && d->IsModal()) return d;
    }
    return nullptr;
}

// Acts on the editor once it is up (inside its modal loop). Polled by a timer: re-posting
// itself would keep a yield from ever running out of pending events.
class EditorWatch : public wxTimer {
public:
    explicit EditorWatch(std::function<void(CParamEditDlg&)> act) : act_(std::move(act)) { Start(20); }
    void Notify() override {
        if (CParamEditDlg* d = ShownEditor()) {
            Stop();
            act_(*d);
        }
    }

private:
    std::function<void(CParamEditDlg&)> act_;
};

// What a window shows on the screen, saved as a PNG for a person to look at.
void SaveScreenshot(wxWindow* window, const wxString& path) {
    const wxRect rect = window->GetScreenRect();
    wxBitmap shot(rect.GetSize());
    wxMemoryDC memory(shot);
    wxScreenDC screen;
    memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
    memory.SelectObject(wxNullBitmap);
    shot.SaveFile(path, wxBITMAP_TYPE_PNG);
}

using ListOnline = ListFixture;

TEST_F(ListOnline, EnterOpensTheEditorAndTheAcceptedValueIsWrittenAndEchoed) {
    // Real key strokes need a focused window, and focus needs a window manager.
    if (!OnOwnWmDisplay()) return;
    wxInitAllImageHandlers();
    SimRig sim;
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    OpenWithList(sim.Host());
    ASSERT_EQ(doc->Core().Connect(false), CVexa3Doc::kStateOnline) << ui.LastMessage();
    options.ShowSecLvl = true;
    const FrameSelection system = Holding(CDirectory::kSystem, 1);
    ASSERT_TRUE(system.subdirectory->ReadFromDevice(nullptr)) << ui.LastMessage();
    list->SelectionChanged(system);
    const long row = RowOf(1);
    ASSERT_GE(row, 0);
    Focus(row);
    list->EnsureVisible(row);
    PumpFor(100);

    bool sawEditor = false;
    EditorWatch watch([&](CParamEditDlg& dialog) {
        sawEditor = true;
        EXPECT_EQ(dialog.CaptionText()->GetLabel(), "System 001 - Additive 1 Injection Volume");
        Type(dialog.NewField(), "12,5");
        PumpFor(50);
        SaveScreenshot(&dialog, "/tmp/list-editor.png");
        ClickOk(dialog);
    });
    window->Raise();
    list->SetFocus();
    ASSERT_TRUE(PumpUntil([&] {
        const wxWindow* focus = wxWindow::FindFocus();
        return focus == list || (focus != nullptr && focus->GetParent() == list);
    })) << "the list never had the focus";
    wxUIActionSimulator keyboard;
    keyboard.Char(WXK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return list->LastOutcome() != ParamEditFlow::Outcome::NotEditable; }, 15000));
    ASSERT_TRUE(sawEditor);
    EXPECT_EQ(list->LastOutcome(), ParamEditFlow::Outcome::Written) << ui.LastMessage();

    EXPECT_TRUE(sim.WaitForCommand("PC SY 001 012.50", 1))
        << "the value in the code's format, at the first arm's address";
    CParam* volume = list->RowParam(row);
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(volume->Value(0), "012.50");
    EXPECT_EQ(list->CellText(row, CParamListView::kValueColumn), "012.50");
    EXPECT_TRUE(doc->IsModified());

    list->Refresh();
    PumpFor(300);
    // The X server's picture of the screen, as the technician sees it.
    const wxRect r = window->GetScreenRect();
    RunTool({"import", "-window", "root", "-crop",
             std::to_string(r.width) + "x" + std::to_string(r.height) + "+" + std::to_string(r.x) + "+" +
                 std::to_string(r.y),
             "/tmp/list-online.png"});
}

}  // namespace
}  // namespace qs::test
