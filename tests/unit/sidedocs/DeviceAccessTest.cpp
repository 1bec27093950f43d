// The hand-over every side document's transfer runs on: the program-data document chosen and
// connected, and its protocol taken only when it can carry block transfers.
#include <gtest/gtest.h>

#include "SideDevice.h"

namespace qs::test {
namespace {

TEST(DeviceAccess, AMinicomputerLinkOnEightBitsIsHandedOverWithItsDocument) {
    SideDevice dev;
    const DeviceAccess::Link link = dev.Access().Connect(true);
    ASSERT_TRUE(link);
    EXPECT_EQ(link.document, &dev.doc);
    EXPECT_EQ(link.protocol, dev.doc.GetProtocol());
    EXPECT_EQ(dev.online, std::vector<bool>{true});
    EXPECT_EQ(dev.device.CommandsFrom(0), (std::vector<std::string>{"PV SY 111", "GP", "PC SY 111 1"}));
    EXPECT_TRUE(dev.ui.Messages().empty());
}

TEST(DeviceAccess, ALinkThatCannotCarryBlocksIsRefusedBeforeAnythingIsSent) {
    struct Row {
        const char* name;
        Framing framing;
        int dataBits;
        std::string message;
    };
    const Row rows[] = {
        {"terminal framing", Framing::Terminal, 8, "Minicomputer Mode Required for this function"},
        {"seven data bits", Framing::Mini, 7, "An 8-Bit Data Protocol Required for this function"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SideDevice dev;
        std::unique_ptr<TerminalProtocol> protocol = row.framing == Framing::Mini
                                                         ? dev.device.OpenMini(false, row.dataBits)
                                                         : dev.device.Open(Framing::Terminal);
        EXPECT_FALSE(dev.HandingOver(protocol.get()).Connect(false));
        EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{row.message});
        EXPECT_EQ(dev.device.stream->Written(), "");
    }
}

TEST(DeviceAccess, NoDocumentOrNoProtocolEndsWithoutAWordOfItsOwn) {
    RecordingUi ui;
    int connects = 0;
    const DeviceAccess none{.ui = ui.services,
                            .chooseDocument = [] { return static_cast<CVexa3Doc*>(nullptr); },
                            .connectedProtocol = [&connects](CVexa3Doc&, bool) {
                                ++connects;
                                return static_cast<DX3Protocol*>(nullptr);
                            }};
    EXPECT_FALSE(none.Connect(true));
    EXPECT_EQ(connects, 0);
    SideDevice dev;
    EXPECT_FALSE(dev.HandingOver(nullptr).Connect(true));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(dev.ui.Messages().empty());
}

}  // namespace
}  // namespace qs::test
