// What the transfers of every side-document kind share, each kind over the scripted device:
// nothing is asked of the device for a document with nothing to send, the link a download and
// an upload ask for, "LO" after the kinds that need it, the wait for a late last reply, the
// buffer an upload takes, a cancel, and a failed CRC. What is particular to a kind is in its
// own tests.
#include <gtest/gtest.h>

#include "SideDevice.h"

namespace qs::test {
namespace {

class SideDocumentTransfer : public ::testing::TestWithParam<SideKind::Id> {
protected:
    std::unique_ptr<SideKind> Kind(SideDevice& dev, bool filled = true) {
        auto kind = SideKind::Make(GetParam(), dev.ui.services);
        if (filled) kind->Fill();
        return kind;
    }
    // The number of the block that closes the filled document's download.
    int FinalBlock() {
        SideDevice dev;
        EXPECT_TRUE(Kind(dev)->Download(dev.Access())) << dev.ui.LastMessage();
        return static_cast<int>(dev.Blocks().size()) - 1;
    }
};

TEST_P(SideDocumentTransfer, NothingToSendIsSaidBeforeADeviceIsChosen) {
    SideDevice dev;
    EXPECT_FALSE(Kind(dev, false)->Download(dev.Access()));
    EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{Kind(dev)->nothingToSend});
    EXPECT_EQ(dev.choices, 0);
    EXPECT_TRUE(dev.device.sent.empty());
}

TEST_P(SideDocumentTransfer, ADownloadNeedsTheDeviceOnlineAndAnUploadAnyLink) {
    SideDevice dev;
    auto kind = Kind(dev);
    ASSERT_TRUE(kind->Download(dev.Access())) << dev.ui.LastMessage();
    EXPECT_TRUE(dev.ui.Messages().empty());
    ASSERT_FALSE(dev.Blocks().empty());
    EXPECT_EQ(Hex(dev.Blocks()[0]), Hex("SV " + U16Be(kind->writeCode)));
    for (const WrittenFrame& f : dev.device.Frames()) EXPECT_TRUE(f.wellFormed);
    EXPECT_EQ(dev.LoCount(), kind->sendsLo ? 1 : 0);

    dev.device.dataSet = "any";
    auto other = Kind(dev, false);
    other->Upload(dev.Access());
    EXPECT_EQ(Hex(dev.Blocks()[dev.Blocks().size() - 2]), Hex(ReadRequestBytes(kind->readCode, 0)));
    EXPECT_EQ(dev.online, (std::vector<bool>{true, false}));
}

TEST_P(SideDocumentTransfer, ALateLastReplyIsWaitedForOnceMoreByTheKindsThatWait) {
    const int final = FinalBlock();
    for (bool comes : {true, false}) {
        SCOPED_TRACE(comes ? "the reply comes late" : "the reply never comes");
        SideDevice dev;
        auto kind = Kind(dev);
        if (comes) dev.device.lateBlock = final;
        else dev.device.onBlock = [final](const std::string&, int index) -> std::optional<std::string> {
            if (index == final) return "";
            return std::nullopt;
        };
        const bool done = kind->Download(dev.Access());
        EXPECT_EQ(done, comes && kind->secondFinalWait);
        EXPECT_EQ(dev.ui.Messages().size(), done ? 0u : 1u);
        EXPECT_EQ(dev.LoCount(), done && kind->sendsLo ? 1 : 0);
    }
}

TEST_P(SideDocumentTransfer, CancelEndsEitherWaySilentlyAndChangesNothing) {
    SideDevice dev;
    auto kind = Kind(dev);
    dev.ui.CancelAfterPumps(3);
    EXPECT_FALSE(kind->Download(dev.Access()));
    EXPECT_LT(dev.Blocks().size(), static_cast<size_t>(FinalBlock() + 1));
    EXPECT_EQ(dev.LoCount(), 0);

    dev.device.dataSet = std::string(1200, 'x');
    const std::string before = kind->DeviceContent();
    EXPECT_FALSE(kind->Upload(dev.Access()));
    EXPECT_EQ(kind->DeviceContent(), before);
    EXPECT_TRUE(dev.ui.Messages().empty());
}

TEST_P(SideDocumentTransfer, AnUploadFailingItsCrcChangesNothing) {
    SideDevice dev;
    auto kind = Kind(dev);
    const std::string before = kind->DeviceContent();
    dev.device.dataSet = std::string("A0\0\0", 4);
    dev.device.onBlock = [&](const std::string& block, int) -> std::optional<std::string> {
        if (block.size() != 7 || U32From(block, 3) % 0x10000 != 0) return std::nullopt;
        return BinaryReply(1, kind->readCode, 0, Vec(U32Be(4) + U32Be(BitwiseCrc32(dev.device.dataSet) ^ 1)));
    };
    EXPECT_FALSE(kind->Upload(dev.Access()));
    EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{kind->badCrc});
    EXPECT_EQ(kind->DeviceContent(), before);
}

TEST_P(SideDocumentTransfer, AnUploadLargerThanTheKindTakesIsRefusedBeforeItsData) {
    SideDevice dev;
    auto kind = Kind(dev, false);
    dev.device.dataSet = std::string(kind->uploadLimit + 1, '\x01');
    EXPECT_FALSE(kind->Upload(dev.Access()));
    EXPECT_EQ(dev.ui.Messages().size(), 1u);
    EXPECT_EQ(dev.ui.LastMessage().rfind(kind->initiatingRead, 0), 0u) << dev.ui.LastMessage();
    EXPECT_EQ(dev.Blocks().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SideDocumentTransfer, ::testing::ValuesIn(SideKind::kAll),
                         [](const auto& info) { return std::string(SideKind::Name(info.param)); });

}  // namespace
}  // namespace qs::test
