// Retrieve Nonresettables from a document's frame: the totals window opens on the document,
// reads the simulated controller once it is shown, cannot be closed meanwhile, shows the three
// lists and lays out its three printed pages; closing it leaves the document open.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>

#include "ForwardingProgress.h"
#include "ShellFixture.h"
#include "SimRig.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/programdata/CDirectoryView.h"
#include "app/tools/CTotalsView.h"
#include "appmodel/programdata/DeviceCommands.h"
#include "platform/PrintSheet.h"
#include "programdata/CDirectory.h"

namespace qs::test {
namespace {

const char* const kState =
    "CF 001 - 1\n"
    "CF 002 - 1\n"
    "CF 003 - 2\n"
    "CF 020 - 1\n"
    "P1 101 - UNLEADED\n"
    "P2 101 - PREMIUM\n"
    "01 001 - 1\n"
    "01 002 - E10 BLEND\n";

// The real progress window; at its first pump the totals window is asked to close.
class ClosingProgress final : public ForwardingProgress {
public:
    ClosingProgress(std::unique_ptr<ProgressSink> real, std::function<void()> atFirstPump)
        : ForwardingProgress(std::move(real)), atFirstPump_(std::move(atFirstPump)) {}
    bool PeekAndPump(bool cancelOnEsc, bool modal) override {
        if (atFirstPump_) std::exchange(atFirstPump_, nullptr)();
        return real_->PeekAndPump(cancelOnEsc, modal);
    }

private:
    std::function<void()> atFirstPump_;
};

class TotalsWindow : public ShellFixture {
protected:
    CTotalsView* FindView(wxDocument* doc) const {
        for (wxList::compatibility_iterator n = doc->GetViews().GetFirst(); n; n = n->GetNext())
            if (auto* v = dynamic_cast<CTotalsView*>(static_cast<wxView*>(n->GetData()))) return v;
        return nullptr;
    }
    static std::vector<std::string> RowOf(wxListCtrl* list, long row) {
        std::vector<std::string> cells;
        for (int c = 0; c < list->GetColumnCount(); ++c) cells.push_back(list->GetItemText(row, c).utf8_string());
        return cells;
    }
};

TEST_F(TotalsWindow, RetrieveNonresettablesShowsTheThreeListsReadFromTheDevice) {
    SimRig device(SimRig::Setup{.args = {"--addresses", "1-6"}, .state = kState});
    ASSERT_TRUE(device.Ready()) << device.Error();
    CVexa3WxDoc* doc = Open(WriteDocument("rack.D3X", device.Host()));
    ASSERT_NE(doc, nullptr);
    auto* tree = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
    ASSERT_NE(tree, nullptr);
    CSplitterFrame* frame = tree->Frame();
    ASSERT_TRUE(doc->Core().SetParamValue(CDirectory::kConfig, 1, 0, 1));
    std::vector<std::string> warnings;
    ASSERT_TRUE(doc->Core().ApplyConfiguration(&warnings));
    frame->RunCommand(kCmdGoOnline);
    ASSERT_GT(doc->Core().State(), CVexa3Doc::kStateOffline) << ui.LastMessage();
    ASSERT_TRUE(frame->Commands().IsEnabled(kCmdRetrieveNonresettables));

    // Closing the window while it reads is refused; the read goes on.
    bool closedWhileReading = true;
    const ProgressFactory real = Ui().progress;
    Ui().progress = [&](const std::string& title, bool smooth) -> std::unique_ptr<ProgressSink> {
        return std::make_unique<ClosingProgress>(real(title, smooth), [&] {
            CTotalsView* view = FindView(doc);
            ASSERT_NE(view, nullptr);
            EXPECT_TRUE(view->Reading());
            closedWhileReading = view->GetFrame()->Close();
        });
    };
    frame->RunCommand(kCmdRetrieveNonresettables);
    CTotalsView* view = FindView(doc);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return view->Read(); }, 20000));
    Ui().progress = real;
    EXPECT_FALSE(closedWhileReading);
    EXPECT_EQ(FindView(doc), view);

    EXPECT_EQ(view->GetFrame()->GetLabel(), doc->GetUserReadableName() + " - Nonresettable Totals");
    EXPECT_EQ(view->StatusText()->GetLabel(), "Values read successfully");
    wxListCtrl* products = view->List(TotalsLists::kProducts);
    ASSERT_EQ(products->GetItemCount(), 5);
    EXPECT_EQ(RowOf(products, 0), (std::vector<std::string>{"Arm 1 - ", "", "", "", "", ""}));
    EXPECT_EQ(RowOf(products, 1), (std::vector<std::string>{" UNLEADED", " 10011", " 10012", " 10013", " 10014", " 10015"}));
    EXPECT_EQ(RowOf(products, 4), (std::vector<std::string>{"Arm 1 Total:", "20032", "20034", "20036", "20038", "20040"}));
    EXPECT_EQ(products->GetColumnCount(), 6);
    EXPECT_EQ(RowOf(view->List(TotalsLists::kAdditives), 0), (std::vector<std::string>{"Additive 1", "12010"}));
    EXPECT_EQ(RowOf(view->List(TotalsLists::kRecipes), 0).at(0), " E10 BLEND");

    PrintSheet sheet(0);
    view->LaySheet(sheet);
    EXPECT_EQ(sheet.Pages(), 3);
    EXPECT_EQ(sheet.Lines().at(1), " Totals by Product / Arm");

    // Close: the window goes, the document and its own window stay.
    wxCommandEvent click(wxEVT_BUTTON, view->CloseButton()->GetId());
    click.SetEventObject(view->CloseButton());
    view->CloseButton()->GetEventHandler()->ProcessEvent(click);
    ASSERT_TRUE(PumpUntil([&] { return FindView(doc) == nullptr; }));
    EXPECT_NE(manager->GetDocuments().Find(doc), nullptr);
    EXPECT_EQ(doc->GetFirstView(), tree);
}

}  // namespace
}  // namespace qs::test
