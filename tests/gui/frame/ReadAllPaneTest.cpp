// What the technician sees behind "Transfer Complete!": the codes of the selection with the
// values just read, drawn before the progress window is closed.
#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/imagpng.h>

#include <algorithm>
#include <cstdio>

#include "ForwardingProgress.h"
#include "Processes.h"
#include "ShellFixture.h"
#include "SimRig.h"
#include "WmDisplay.h"
#include "XWindows.h"
#include "app/programdata/CDirectoryView.h"
#include "app/programdata/CParamListView.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/common/ModalPump.h"
#include "app/common/WxUiServices.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "programdata/CSubdirectory.h"
#include "programdata/CVexa3Doc.h"
#include "appmodel/programdata/DeviceCommands.h"

namespace qs::test {

namespace {

// The list as it stood, and as it was drawn, while the finished transfer waited for Close.
struct PaneAtClose {
    bool waited = false;
    long rows = -1;
    std::vector<std::string> values;
    std::vector<std::string> expected;
    int inkPixels = -1;  // dark pixels in the list's first rows on the screen
    std::string grabError;
};

// Dark pixels (text) in the picture taken of the list.
int InkIn(std::string& error) {
    const std::string file = ScreenshotPath("pane-at-close.png");
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    wxImage image;
    if (!image.LoadFile(file, wxBITMAP_TYPE_PNG)) {
        error = "cannot load " + file;
        return -1;
    }
    int ink = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) < 300) ++ink;
    return ink;
}

// The real progress window; while it waits for Close (pumping user input and UI events only,
// no idle time) the list is looked at on the screen, then Close is pressed with Esc.
class PaneCheckingProgress final : public ForwardingProgress {
public:
    PaneCheckingProgress(std::unique_ptr<ProgressSink> real, CParamListView& list, PaneAtClose& seen)
        : ForwardingProgress(std::move(real)), list_(list), seen_(seen) {}
    void WaitForClose() override {
        seen_.waited = true;
        seen_.rows = list_.GetItemCount();
        const FrameSelection& s = list_.Shown();
        for (long row = 0; row < seen_.rows; ++row) {
            seen_.values.push_back(list_.CellText(row, CParamListView::kValueColumn));
            CParam* p = list_.RowParam(row);
            const int index = s.subdirectory ? s.subdirectory->ValueIndex(std::max(s.arm, 0)) : 0;
            seen_.expected.push_back(!p ? "<no code>" : p->HasOptionList() ? p->Value(index) : p->FormatValue(index));
        }
        // Out of the list's way, so the screen shows the list itself.
        if (auto* w = dynamic_cast<wxWindow*>(real_.get())) w->Move(900, 800);
        // Below the column headings: the first rows, looked at while the window waits, then
        // Close pressed as the technician does.
        const wxRect screen = list_.GetScreenRect();
        const wxRect rows(screen.x + 2, screen.y + 32, std::min(screen.width - 4, 300), 50);
        const std::string crop = std::to_string(rows.width) + "x" + std::to_string(rows.height) + "+" +
                                 std::to_string(rows.x) + "+" + std::to_string(rows.y);
        const std::string file = ScreenshotPath("pane-at-close.png");
        std::remove(file.c_str());
        const pid_t look = SpawnProgram(
            {"sh", "-c", "sleep 1; import -window root -crop " + crop + " +repage '" + file + "'; xdotool key Escape"},
            EnvironmentWith({}));
        real_->WaitForClose();
        if (look > 0) WaitForChild(look, std::chrono::seconds(10));
        seen_.inkPixels = InkIn(seen_.grabError);
    }

private:
    CParamListView& list_;
    PaneAtClose& seen_;
};

}  // namespace

class ReadAllPane : public ShellFixture {};

TEST_F(ReadAllPane, TheCodesReadAreDrawnWhileTheFinishedTransferWaitsForClose) {
    if (!OnOwnWmDisplay()) return;
    SimRig sim({.args = {"--addresses", "1,2,3,4,5,6"}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    auto* doc = Open(WriteDocument("demo.D3X", sim.Host()));
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
    ASSERT_NE(view, nullptr);
    CSplitterFrame* frame = view->Frame();
    auto* list = dynamic_cast<CParamListView*>(frame->Pane());
    ASSERT_NE(list, nullptr);
    this->frame->SetSize(0, 0, 900, 700);
    frame->Maximize();
    PumpFor(300);
    ASSERT_GT(list->GetItemCount(), 0) << "the first hundred is listed before the read";

    // Online, as the program puts a document opened from its file.
    ASSERT_GE(doc->Core().Connect(false), CVexa3Doc::kStateReadOnly) << ui.LastMessage();
    PumpFor(200);

    PaneAtClose seen;
    UiServices services = Ui();
    services.progress = [&](const std::string& title, bool smooth) -> std::unique_ptr<ProgressSink> {
        return std::make_unique<PaneCheckingProgress>(MakeWxProgress(title, smooth), *list, seen);
    };
    services.idle = &WxIdle;
    ScopedUiServices scope(services);
    // F3 arrives in the program's main loop, and the transfer runs inside it.
    wxGUIEventLoop mainLoop;
    wxTheApp->CallAfter([&] {
        frame->RunCommand(kCmdReadAll);
        mainLoop.Exit();
    });
    mainLoop.Run();

    ASSERT_TRUE(seen.waited) << ui.LastMessage();
    EXPECT_GT(seen.rows, 0) << "the list is empty behind the finished transfer";
    EXPECT_EQ(seen.values, seen.expected);
    bool anyValue = false;
    for (const std::string& v : seen.values) anyValue = anyValue || !v.empty();
    EXPECT_TRUE(anyValue) << "values were read";
    EXPECT_GT(seen.inkPixels, 100) << "the rows are not drawn behind the progress window " << seen.grabError;
}

}  // namespace qs::test
