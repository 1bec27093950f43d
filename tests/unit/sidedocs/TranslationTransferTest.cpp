// The translation's own part of its transfers, over the scripted device: the frames a download
// fills, the texts it refuses before a device is chosen, the controller it needs, and an upload
// too short for its header. What every side document's transfer shares is in SideDocumentTransferTest.
#include <gtest/gtest.h>

#include <set>

#include "SideDevice.h"
#include "sidedocs/translations/CTranslation.h"
#include "sidedocs/translations/TranslationTransfer.h"

namespace qs::test {
namespace {

// Texts of every length from 0 to 400 bytes, in 1251, with bytes the line must escape.
CTranslation Varied() {
    CTranslation t;
    t.SetName("Russkij perevod dlja terminala 4");  // 32 characters
    t.SetCharacterSet(2);
    for (size_t i = 0; i < 4574; i += 7) {
        std::string text;
        for (size_t k = 0; k < (i * 13) % 401; ++k) text += static_cast<char>(0xC0 + (i + k) % 64);
        if (i % 3 == 0 && !text.empty()) text[0] = '\x02';
        if (i % 5 == 0 && !text.empty()) text.back() = '\x7F';
        t.SetText(i, text);
    }
    t.SetText(4574, "never sent");
    return t;
}

TEST(TranslationTransfer, FramesCarryTheWholeSetWithoutSplittingAText) {
    SideDevice dev;
    const CTranslation t = Varied();
    ASSERT_TRUE(t.DownloadToDevice(dev.Access())) << dev.ui.LastMessage();
    EXPECT_EQ(dev.ui.progress.at(0)->title, "Downloading Translation...");

    // What was sent, worked out here: the header, each text with its NUL, the closing 0x00.
    const std::string header = t.Name().substr(0, 29) + std::string("\0\0\x02", 3);
    std::string payload = header;
    std::set<size_t> boundaries = {0, 32};
    for (size_t i = 0; i < 4574; ++i) {
        payload += t.Text(i) + '\0';
        boundaries.insert(payload.size());
    }
    payload += '\0';

    const std::vector<std::string>& blocks = dev.Blocks();
    ASSERT_GE(blocks.size(), 3u);
    EXPECT_EQ(U32From(blocks[1], 5), payload.size());
    std::string carried;
    for (size_t i = 1; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i].substr(0, 5), std::string("SV \x04\x11", 5));
        EXPECT_LE(blocks[i].size(), i + 1 == blocks.size() ? 512u : 507u) << i;
        EXPECT_TRUE(boundaries.count(carried.size())) << "frame " << i << " starts at " << carried.size();
        carried += blocks[i].substr(i == 1 ? 9 : 5);
    }
    EXPECT_EQ(Hex(carried.substr(0, 32)), Hex(header));
    ASSERT_EQ(carried.size(), payload.size() + 4);
    EXPECT_TRUE(carried.substr(0, payload.size()) == payload);
    EXPECT_EQ(U32From(carried, payload.size()), BitwiseCrc32(payload));
}

TEST(TranslationTransfer, ATextTooLongForOneFrameIsNamedBeforeADeviceIsChosen) {
    SideDevice dev;
    CTranslation t;
    t.SetText(3, std::string(501, 'x'));
    t.SetText(7, std::string(502, 'y'));
    EXPECT_FALSE(t.DownloadToDevice(dev.Access()));
    EXPECT_EQ(dev.choices, 0);
    EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{
                                     "Error sending translation text -  - The translation of \"Enter Driver Number\" "
                                     "(row 8) is 502 bytes; one frame holds at most 501"});
}

TEST(TranslationTransfer, AnotherRevisionOrAnOperatorPanelIsRefusedBeforeAnyBlock) {
    // "GP" of the controller of 11.25, and of an operator panel.
    for (const char* firmware : {"2AF16B7A", "32A0E748"}) {
        SCOPED_TRACE(firmware);
        SideDevice dev;
        dev.firmware = firmware;
        CTranslation t;
        t.SetText(0, "Bereit");
        EXPECT_FALSE(t.DownloadToDevice(dev.Access()));
        EXPECT_FALSE(t.UploadFromDevice(dev.Access()));
        ASSERT_FALSE(dev.ui.Messages().empty());
        EXPECT_EQ(dev.ui.LastMessage(), TranslationTransfer::kWrongDevice);
        EXPECT_TRUE(dev.Blocks().empty());
    }
}

TEST(TranslationTransfer, AnUploadTooShortForItsHeaderChangesNothing) {
    SideDevice dev;
    dev.device.dataSet = std::string(31, 'N');
    CTranslation t;
    t.SetName("kept");
    EXPECT_FALSE(t.UploadFromDevice(dev.Access()));
    EXPECT_EQ(dev.ui.Messages(), std::vector<std::string>{TranslationTransfer::kTooShort});
    EXPECT_EQ(t.Name(), "kept");
}

}  // namespace
}  // namespace qs::test
