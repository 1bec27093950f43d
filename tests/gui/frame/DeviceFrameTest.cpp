// The window of a program-data document as a technician uses it: the tree of directories, the
// codes of the selection beside it, and F3 reading the whole device.
#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/splitter.h>

#include "ForwardingProgress.h"
#include "Processes.h"
#include "ShellFixture.h"
#include "WmDisplay.h"
#include "XWindows.h"
#include "SimRig.h"
#include "app/programdata/CDirectoryView.h"
#include "app/common/CProgressWnd.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/shell/CommandIds.h"
#include "app/common/WxUiServices.h"
#include "programdata/CDirectory.h"
#include "programdata/CParam.h"
#include "appmodel/programdata/DeviceCommands.h"

namespace qs::test {

namespace {

// The real progress window, with what it showed when the transfer ended; the user closes it
// with Esc through the display, as at the keyboard.
class WatchedProgress final : public ForwardingProgress {
public:
    WatchedProgress(std::unique_ptr<ProgressSink> real, std::string& finalText, bool& closed)
        : ForwardingProgress(std::move(real)), finalText_(finalText), closed_(closed) {}
    void WaitForClose() override {
        escape_ = SpawnProgram({"xdotool", "sleep", "1", "key", "Escape"}, EnvironmentWith({}));
        real_->WaitForClose();
        if (auto* w = dynamic_cast<CProgressWnd*>(real_.get())) finalText_ = w->Model().Text();
        closed_ = true;
        if (escape_ > 0) WaitForChild(escape_, std::chrono::seconds(5));
    }

private:
    std::string& finalText_;
    bool& closed_;
    pid_t escape_ = -1;
};

}  // namespace

class DeviceFrame : public ShellFixture {
protected:
    CDirectoryView* OpenOn(const std::string& host) {
        CVexa3WxDoc* doc = Open(WriteDocument("demo.D3X", host));
        EXPECT_NE(doc, nullptr);
        if (!doc) return nullptr;
        document = doc;
        auto* view = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
        EXPECT_NE(view, nullptr);
        PumpFor(200);
        return view;
    }
    CVexa3WxDoc* document = nullptr;
};

TEST_F(DeviceFrame, TheTreeSelectsTheFirstHundredAndTheCodesOfASelectionShowBesideIt) {
    CDirectoryView* view = OpenOn("127.0.0.1");
    ASSERT_NE(view, nullptr);
    CSplitterFrame* frame = view->Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Splitter()->GetWindow1(), view->Tree());
    // Config opened, its first hundred selected and listed.
    const FrameSelection& first = frame->Selection();
    ASSERT_NE(first.subdirectory, nullptr);
    EXPECT_EQ(first.directory->Type(), CDirectory::kConfig);
    auto* list = dynamic_cast<wxListCtrl*>(frame->Pane());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetItemCount(), first.subdirectory->ParamCount());

    // Another item: the frame follows, and the list shows that hundred at its arm's values.
    const auto& nodes = view->Layout().nodes;
    int meterSub = -1;
    for (size_t i = 0; i < nodes.size() && meterSub < 0; ++i)
        if (nodes[i].Subdirectory() && nodes[i].Subdirectory()->Owner()->Type() == CDirectory::kMeter)
            meterSub = static_cast<int>(i);
    ASSERT_GE(meterSub, 0);
    view->Tree()->SelectItem(view->ItemOf(meterSub));
    PumpFor(50);
    EXPECT_EQ(frame->Selection().subdirectory, nodes[static_cast<size_t>(meterSub)].Subdirectory());
    EXPECT_EQ(list->GetItemCount(), frame->Selection().subdirectory->ParamCount());

    // The device commands are in the main window's menu with their keys, enabled as the state
    // allows: offline, Read All yes, Go Offline no.
    wxMenuBar* bar = this->frame->GetMenuBar();
    wxMenuItem* readAll = bar->FindItem(ID_READ_ALL);
    ASSERT_NE(readAll, nullptr);
    EXPECT_EQ(readAll->GetItemLabel().utf8_string(), "Read &All\tF3");
    EXPECT_EQ(bar->FindItem(ID_DUMP_ALL)->GetItemLabel().utf8_string(), "Dump &All\tAlt+F3");
    EXPECT_TRUE(frame->Commands().IsEnabled(kCmdReadAll));
    EXPECT_FALSE(frame->Commands().IsEnabled(kCmdGoOffline));

    // Copy of a meter hundred pastes onto another meter's same hundred, not onto a product.
    ASSERT_TRUE(frame->Selection().subdirectory->First());
    CParam* code = frame->Selection().subdirectory->First();
    ASSERT_TRUE(code->SetValue("7", 0));
    EXPECT_TRUE(view->CanCopy());
    view->Copy();
    int otherMeter = -1;
    for (size_t i = static_cast<size_t>(meterSub) + 1; i < nodes.size() && otherMeter < 0; ++i)
        if (nodes[i].Subdirectory() == nodes[static_cast<size_t>(meterSub)].Subdirectory() &&
            view->Tree()->GetItemParent(view->ItemOf(static_cast<int>(i))) !=
                view->Tree()->GetItemParent(view->ItemOf(meterSub)))
            otherMeter = static_cast<int>(i);
    if (otherMeter >= 0) {
        view->Tree()->SelectItem(view->ItemOf(otherMeter));
        PumpFor(20);
        ASSERT_TRUE(view->CanPaste());
        view->Paste();
        const FrameSelection& s = frame->Selection();
        EXPECT_EQ(code->Value(s.instance + s.arm * s.directory->InstanceCount()), "7");
        EXPECT_TRUE(document->IsModified());
    }
    // Closing the last frame takes the device menu away.
    manager->CloseDocuments(true);
    PumpFor(100);
    EXPECT_EQ(bar->FindMenu("Device"), wxNOT_FOUND);
}

TEST_F(DeviceFrame, F3ReadsTheWholeDeviceWithReadsOnlyAndEndsWithTransferComplete) {
    if (!OnOwnWmDisplay()) return;
    // The demo document's six arms answer at addresses 1-6.
    SimRig sim({.args = {"--addresses", "1,2,3,4,5,6"}});
    ASSERT_TRUE(sim.Ready()) << sim.Error();
    CDirectoryView* view = OpenOn(sim.Host());
    ASSERT_NE(view, nullptr);
    std::string finalText;
    bool closed = false;
    UiServices services = Ui();
    services.progress = [&](const std::string& title, bool smooth) -> std::unique_ptr<ProgressSink> {
        return std::make_unique<WatchedProgress>(MakeWxProgress(title, smooth), finalText, closed);
    };
    services.idle = &WxIdle;
    ScopedUiServices scope(services);

    std::vector<std::string> windows;
    ASSERT_TRUE(WaitUntil([&] {
        PumpFor(20);
        windows = FindWindows("^Quillset\\.NET", true);
        return !windows.empty();
    }, std::chrono::seconds(10)));
    view->Tree()->SetFocus();
    PumpFor(100);
    const pid_t key = SpawnProgram({"xdotool", "windowactivate", "--sync", windows[0], "sleep", "0.3", "key", "F3"},
                                   EnvironmentWith({}));
    ASSERT_GT(key, 0);
    ASSERT_TRUE(PumpUntil([&] { return closed; }, 60000)) << "last message: " << ui.LastMessage() << [&] {
        std::string tail;
        const std::vector<SimFrame> log = sim.Sim().ReadLog();
        for (size_t i = log.size() > 6 ? log.size() - 6 : 0; i < log.size(); ++i)
            tail += "\n" + log[i].direction + " " + log[i].text + " " + log[i].error;
        return tail;
    }();
    WaitForChild(key, std::chrono::seconds(5));
    EXPECT_EQ(finalText, "Transfer Complete!");
    EXPECT_FALSE(document->Core().FindDirectory(CDirectory::kConfig)->FindParam(1)->Value(0).empty());

    int reads = 0, writes = 0;
    for (const std::string& c : sim.Commands()) {
        reads += c.starts_with("PV ") ? 1 : 0;
        writes += c.starts_with("PC ") || c.starts_with("XC ") ? 1 : 0;
    }
    EXPECT_GT(reads, 100);
    EXPECT_EQ(writes, 0) << "F3 only reads";

    // The tree opened up, for people to look at.
    view->Tree()->ExpandAll();
    view->Tree()->ScrollTo(view->ItemOf(0));
    PumpFor(500);
    EXPECT_TRUE(Screenshot(windows[0], ScreenshotPath("frame-tree.png")));
}

}  // namespace qs::test
