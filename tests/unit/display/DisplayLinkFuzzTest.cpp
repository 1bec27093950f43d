#include <gtest/gtest.h>

#include "DisplayLinkRig.h"
#include "Fuzz.h"

namespace qs::display::test {
namespace {

std::vector<std::string> Seeds() {
    std::string bar;
    for (double d : {100.0, 0.0, 40.0}) bar += LittleEndianDouble(d);
    return {
        Define(5, 0x90, 0x04, TextRecord(9, 0x02, 10, 20, 0x13, 0, "%5d"), Bytes({0x12, 0x34})),
        Define(6, 0x00, 0x01, TextRecord(10, 0x40, 300, 70, 0xFF, 18, "%s"), "a\xB0\xA1\xA1"),
        Define(7, 0x11, 0x06, GraphicRecord(11, 0x84, 1, 1, 100, 20, 0x21), bar),
        Define(8, 0x00, 0x03, GraphicRecord(12, 0xC0, 250, 60, 8, 8, 3), std::string(64, '\x03')),
        Define(8, 0x00, 0x03, GraphicRecord(13, 0xC1, 10, 50, 50, 10, 2), ""),
        Update(9, 0x31, 0, Bytes({0x00, 0x05})) + Update(11, 0x12, 3, bar),
        Select(6, 0xFF, 1) + Control('U', 0, Bytes({2})) + Control('R', 3),
        Control(0x00, 0) + Control(0x01, 0, Bytes({1, 2, 3, 4})) + Control('S', 0, "abcd") + Control('T', 0, "x"),
        Delete(9, 1, 0) + Delete(6, 0, 1) + Delete(5, 0, 0),
        Frame(0x15, Bytes({1, 7}) + std::string(29, 'z')) + Frame(0x16, "abcdefghij", ""),
    };
}

TEST(DisplayLinkFuzz, ReceivePassAndRedrawSurviveAnyBytes) {
    for (DisplayVariant variant : {DisplayVariant::RemoteDisplay, DisplayVariant::OperatorPanel}) {
        // One rig for the whole run, so the model grows, shrinks and fills its budget.
        LinkRig rig(variant, true, 64u << 10);
        qs::test::FuzzOptions options;
        options.maxLength = 2048;
        qs::test::RunFuzz(Seeds(), [&](const std::string& input) {
            rig.source.Feed(input);
            rig.Drain();
            rig.engine.RedrawDisplays();
            ASSERT_LE(rig.engine.List().Budget().Used(), rig.engine.List().Budget().Limit());
            if (rig.source.Left() == 0 && !rig.link.FramePending()) rig.engine.List().CollectGarbage(static_cast<int>(input.size() % 4));
        }, options);
        EXPECT_EQ(rig.source.Left(), 0u);
    }
}

}  // namespace
}  // namespace qs::display::test
