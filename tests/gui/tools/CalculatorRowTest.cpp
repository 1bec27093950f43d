// The calculator as a program-data document's frame opens it: its row is there and on without a
// device, and choosing it runs the calculator modally over that frame.
#include <gtest/gtest.h>
#include <wx/app.h>

#include "ShellFixture.h"
#include "app/programdata/CDirectoryView.h"
#include "app/programdata/CSplitterFrame.h"
#include "app/tools/CThermCalc.h"
#include "appmodel/programdata/DeviceCommands.h"

namespace qs::test {

class CalculatorRow : public ShellFixture {};

TEST_F(CalculatorRow, OpensTheCalculatorOverTheDocumentsFrameWithoutADevice) {
    CVexa3WxDoc* doc = Open(WriteDocument("rack.D3X", "127.0.0.1"));
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<CDirectoryView*>(doc->GetFirstView());
    ASSERT_NE(view, nullptr);
    CSplitterFrame* frame = view->Frame();
    PumpFor(50);

    const DeviceCommandRow* row = frame->Commands().Table().Find(kCmdThermalCalculator);
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->Available()) << "the disabled row was replaced";
    EXPECT_EQ(row->section, MenuSection::OfflineTools);
    EXPECT_TRUE(frame->Commands().IsEnabled(kCmdThermalCalculator)) << "offline, never connected";

    wxWindow* parent = nullptr;
    int shown = 0;
    wxTheApp->CallAfter([&] {
        for (wxWindow* w : wxTopLevelWindows) {
            if (auto* calc = dynamic_cast<CThermCalc*>(w); calc && calc->IsModal()) {
                ++shown;
                parent = calc->GetParent();
                calc->EndModal(wxID_CANCEL);
            }
        }
    });
    frame->RunCommand(kCmdThermalCalculator);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(parent, frame);
}

}  // namespace qs::test
